#include "fillselection.h"

#include "fixeddialog.h"
#include "screencentre.h"
#include "core/document/state.h"
#include "core/editing/editing.h"
#include "core/plate/plategeometry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Tessar {

FillSelectionDialog::FillSelectionDialog(const State &state, const WellSet &wells, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mWells(wells)
{
    setObjectName(QStringLiteral("FillSelection"));
    setWindowTitle(QStringLiteral("Fill Selection"));
    offerCloseOnly(this);

    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    mRow = new QComboBox(this);
    mRow->setObjectName(QStringLiteral("fillRow"));
    for (int f = 0; f < usedRows(state); ++f)
        mRow->addItem(state.fieldName[std::size_t(f)], f);
    mRow->setCurrentIndex(mRow->count() > 1 ? 1 : 0);
    form->addRow(QStringLiteral("&Row:"), mRow);
    mText = new QLineEdit(this);
    mText->setObjectName(QStringLiteral("fillText"));
    form->addRow(QStringLiteral("&Text:"), mText);
    mOrder = new QComboBox(this);
    mOrder->setObjectName(QStringLiteral("fillOrder"));
    mOrder->addItem(QStringLiteral("Across plate rows"), int(FillOrder::AcrossRows));
    mOrder->addItem(QStringLiteral("Down columns"), int(FillOrder::DownColumns));
    mOrder->addItem(QStringLiteral("By sample number"), int(FillOrder::SampleNumbers));
    form->addRow(QStringLiteral("&Order:"), mOrder);

    auto *series = new QGridLayout;
    layout->addLayout(series);
    mSame = new QRadioButton(QStringLiteral("&Same text in every well"), this);
    mSame->setObjectName(QStringLiteral("fillSame"));
    mSame->setChecked(true);
    series->addWidget(mSame, 0, 0, 1, 2);
    mCountUp = new QRadioButton(QStringLiteral("&Count up by"), this);
    mCountUp->setObjectName(QStringLiteral("fillCountUp"));
    series->addWidget(mCountUp, 1, 0);
    mStep = new QSpinBox(this);
    mStep->setObjectName(QStringLiteral("fillStep"));
    mStep->setRange(-100000, 100000);
    mStep->setValue(1);
    series->addWidget(mStep, 1, 1);
    mDilute = new QRadioButton(QStringLiteral("&Dilute by"), this);
    mDilute->setObjectName(QStringLiteral("fillDilute"));
    series->addWidget(mDilute, 2, 0);
    mFactor = new QComboBox(this);
    mFactor->setObjectName(QStringLiteral("fillFactor"));
    mFactor->setEditable(true);
    mFactor->addItems({QStringLiteral("1/2"), QStringLiteral("1/3"), QStringLiteral("1/10")});
    series->addWidget(mFactor, 2, 1);
    series->addWidget(new QLabel(QStringLiteral("&Each value in wells:"), this), 3, 0);
    mReplicates = new QSpinBox(this);
    mReplicates->setObjectName(QStringLiteral("fillReplicates"));
    mReplicates->setRange(1, 12);
    series->addWidget(mReplicates, 3, 1);
    qobject_cast<QLabel *>(series->itemAtPosition(3, 0)->widget())->setBuddy(mReplicates);

    mPreview = new QLabel(this);
    mPreview->setObjectName(QStringLiteral("fillPreview"));
    mPreview->setMinimumWidth(280);
    mPreview->setWordWrap(true);
    layout->addWidget(mPreview);

    auto *buttons = new QDialogButtonBox(this);
    mOk = buttons->addButton(QDialogButtonBox::Ok);
    mOk->setObjectName(QStringLiteral("fillOk"));
    mOk->setDefault(true);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("fillCancel"));
    layout->addWidget(buttons);
    connect(mOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(mRow, &QComboBox::currentIndexChanged, this, &FillSelectionDialog::preview);
    connect(mText, &QLineEdit::textChanged, this, &FillSelectionDialog::preview);
    connect(mOrder, &QComboBox::currentIndexChanged, this, &FillSelectionDialog::preview);
    for (QRadioButton *button : {mSame, mCountUp, mDilute})
        connect(button, &QRadioButton::toggled, this, &FillSelectionDialog::preview);
    connect(mStep, &QSpinBox::valueChanged, this, &FillSelectionDialog::preview);
    connect(mFactor, &QComboBox::currentTextChanged, this, &FillSelectionDialog::preview);
    connect(mReplicates, &QSpinBox::valueChanged, this, &FillSelectionDialog::preview);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    preview();
}

std::optional<FillRequest> FillSelectionDialog::run(QWidget *parent, const State &state, const WellSet &wells)
{
    FillSelectionDialog dialog(state, wells, parent);
    centreOnScreen(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.request();
}

FillRequest FillSelectionDialog::request() const
{
    FillRequest request;
    request.row = mRow->currentData().toInt();
    request.order = FillOrder(mOrder->currentData().toInt());
    request.rule.text = mText->text();
    request.rule.series = mCountUp->isChecked() ? FillSeries::CountUp
                          : mDilute->isChecked() ? FillSeries::Dilute
                                                 : FillSeries::Same;
    request.rule.step = mStep->value();
    request.rule.factor = parseFactor(mFactor->currentText()).value_or(0);
    request.rule.replicates = mReplicates->value();
    return request;
}

void FillSelectionDialog::preview()
{
    const FillRequest chosen = request();
    const WellSet ordered = fillOrder(mState, mWells, chosen.order);
    const FillValues values = fillValues(chosen.rule, int(ordered.size()));
    QString problem = values.problem;
    if (problem.isEmpty())
        problem = checkFill(mState, chosen.row, values.values);
    mOk->setEnabled(problem.isEmpty() && !ordered.empty());
    if (!problem.isEmpty()) {
        mPreview->setText(problem);
        return;
    }
    if (ordered.empty())
        return;
    const auto line = [&](std::size_t i) {
        return spotname(mState, ordered[i]).toString() + QStringLiteral(": ") + values.values[qsizetype(i)];
    };
    QString text = line(0);
    if (ordered.size() > 1)
        text += QStringLiteral(" ... ") + line(ordered.size() - 1);
    mPreview->setText(text);
}

} // namespace Tessar

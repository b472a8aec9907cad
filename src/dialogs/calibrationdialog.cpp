#include "calibrationdialog.h"

#include "fixeddialog.h"
#include "screencentre.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tessar {

namespace {

QLineEdit *edit(QWidget *parent, const QString &name, const QString &text, const QString &hint = QString())
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setPlaceholderText(hint);
    return box;
}

QComboBox *choice(QWidget *parent, const QString &name, const QStringList &items, int current)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(current);
    return box;
}

} // namespace

CalibrationDialog::CalibrationDialog(const PlateType &type, const Calibration &initial, QWidget *parent)
    : QDialog(parent)
    , mType(type)
{
    setObjectName(QStringLiteral("Calibration"));
    setWindowTitle(QStringLiteral("Calibrate %1").arg(type.name));
    offerCloseOnly(this);
    auto *layout = new QVBoxLayout(this);

    auto *form = new QFormLayout;
    mName = edit(this, QStringLiteral("TxtCalibrationName"), initial.name);
    auto *nameLabel = new QLabel(QStringLiteral("&Name:"), this);
    nameLabel->setBuddy(mName);
    form->addRow(nameLabel, mName);
    mUnits = choice(this, QStringLiteral("cboCalibrationUnits"), {unitSymbol(StageUnit::Micrometre), unitSymbol(StageUnit::Millimetre)},
                    initial.unit == StageUnit::Micrometre ? 0 : 1);
    auto *unitsLabel = new QLabel(QStringLiteral("&Units:"), this);
    unitsLabel->setBuddy(mUnits);
    form->addRow(unitsLabel, mUnits);
    const QString lastRow = stageWellName({type.rows, 1}).chopped(1);
    mXDirection = choice(this, QStringLiteral("cboXDirection"),
                         {QStringLiteral("grows from column 1 to %1").arg(type.cols),
                          QStringLiteral("grows from column %1 to 1").arg(type.cols)},
                         initial.xToRight ? 0 : 1);
    auto *xLabel = new QLabel(QStringLiteral("Stage &X:"), this);
    xLabel->setBuddy(mXDirection);
    form->addRow(xLabel, mXDirection);
    mYDirection = choice(this, QStringLiteral("cboYDirection"),
                         {QStringLiteral("grows from row A to %1").arg(lastRow),
                          QStringLiteral("grows from row %1 to A").arg(lastRow)},
                         initial.yDown ? 0 : 1);
    auto *yLabel = new QLabel(QStringLiteral("Stage &Y:"), this);
    yLabel->setBuddy(mYDirection);
    form->addRow(yLabel, mYDirection);
    layout->addLayout(form);

    auto *explain = new QLabel(QStringLiteral("Move the stage to the centre of each well, read its position off the "
                                              "stage and type it in. Two wells fix the plate's place, turn and size; "
                                              "a third also its shear and mirroring."),
                               this);
    explain->setWordWrap(true);
    layout->addWidget(explain);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Well"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Stage X"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Stage Y"), this), 0, 2);
    auto *residual = new QLabel(QStringLiteral("Residual"), this);
    residual->setToolTip(QStringLiteral("How far the taught position lies from where the plate's own geometry, "
                                        "turned and shifted to fit the taught wells best, puts the well"));
    grid->addWidget(residual, 0, 3);
    const QStringList suggested{QStringLiteral("A1"), stageWellName({type.rows, type.cols}), stageWellName({1, type.cols})};
    for (int i = 0; i < MaxTaughtWells; ++i) {
        const bool given = std::size_t(i) < initial.wells.size();
        const TaughtWell w = given ? initial.wells[std::size_t(i)] : TaughtWell{};
        mWell[std::size_t(i)] = edit(this, QStringLiteral("TxtWell%1").arg(i + 1),
                                     given ? stageWellName(w.well) : (i < 2 ? suggested[i] : QString()),
                                     i < 2 ? QString() : QStringLiteral("%1 (may stay empty)").arg(suggested[i]));
        mX[std::size_t(i)] = edit(this, QStringLiteral("TxtStageX%1").arg(i + 1), given ? decimalText(w.stage.x(), 6) : QString());
        mY[std::size_t(i)] = edit(this, QStringLiteral("TxtStageY%1").arg(i + 1), given ? decimalText(w.stage.y(), 6) : QString());
        mResidual[std::size_t(i)] = new QLabel(this);
        mResidual[std::size_t(i)]->setObjectName(QStringLiteral("lblResidual%1").arg(i + 1));
        grid->addWidget(mWell[std::size_t(i)], i + 1, 0);
        grid->addWidget(mX[std::size_t(i)], i + 1, 1);
        grid->addWidget(mY[std::size_t(i)], i + 1, 2);
        grid->addWidget(mResidual[std::size_t(i)], i + 1, 3);
        for (QLineEdit *box : {mWell[std::size_t(i)], mX[std::size_t(i)], mY[std::size_t(i)]})
            connect(box, &QLineEdit::textChanged, this, &CalibrationDialog::refit);
    }
    layout->addLayout(grid);

    mFit = new QLabel(this);
    mFit->setObjectName(QStringLiteral("lblFit"));
    mFit->setWordWrap(true);
    mFit->setMinimumWidth(420);
    layout->addWidget(mFit);

    auto *buttons = new QDialogButtonBox(this);
    mOk = buttons->addButton(QDialogButtonBox::Ok);
    mOk->setObjectName(QStringLiteral("cmdCalibrationOk"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdCalibrationCancel"));
    layout->addWidget(buttons);
    connect(mOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mName, &QLineEdit::textChanged, this, &CalibrationDialog::refit);
    for (QComboBox *box : {mUnits, mXDirection, mYDirection})
        connect(box, &QComboBox::currentIndexChanged, this, &CalibrationDialog::refit);
    refit();
    mX[0]->setFocus();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

Calibration CalibrationDialog::calibration() const
{
    Calibration c;
    c.name = mName->text().trimmed();
    c.plateType = mType.name;
    c.unit = mUnits->currentIndex() == 0 ? StageUnit::Micrometre : StageUnit::Millimetre;
    c.xToRight = mXDirection->currentIndex() == 0;
    c.yDown = mYDirection->currentIndex() == 0;
    for (int i = 0; i < MaxTaughtWells; ++i) {
        const std::size_t k = std::size_t(i);
        if (mWell[k]->text().trimmed().isEmpty() && mX[k]->text().trimmed().isEmpty() && mY[k]->text().trimmed().isEmpty())
            continue;
        // What cannot be read is kept as no number, which the fit refuses by name.
        const std::optional<GridWell> well = parseStageWell(mType, mWell[k]->text());
        c.wells.push_back({well.value_or(GridWell{0, 0}),
                           QPointF(typedNumber(mX[k]->text()).value_or(std::nan("")),
                                   typedNumber(mY[k]->text()).value_or(std::nan("")))});
    }
    return c;
}

void CalibrationDialog::refit()
{
    for (QLabel *label : mResidual)
        label->clear();
    QString problem;
    for (int i = 0; i < MaxTaughtWells && problem.isEmpty(); ++i) {
        const QString text = mWell[std::size_t(i)]->text().trimmed();
        const bool rowUsed = !text.isEmpty() || !mX[std::size_t(i)]->text().trimmed().isEmpty()
            || !mY[std::size_t(i)]->text().trimmed().isEmpty();
        if (rowUsed && !parseStageWell(mType, text))
            problem = QStringLiteral("\"%1\" is no well of %2.").arg(text, mType.name);
        else if (rowUsed && (!typedNumber(mX[std::size_t(i)]->text()) || !typedNumber(mY[std::size_t(i)]->text())))
            problem = QStringLiteral("Type the stage X and Y of %1 as numbers.").arg(text);
    }
    const Calibration c = calibration();
    CalibrationFit fit;
    if (problem.isEmpty()) {
        fit = fitCalibration(mType, c);
        problem = fit.problem;
    }
    if (problem.isEmpty() && c.name.isEmpty())
        problem = QStringLiteral("Give the calibration a name, for example the stage's or the plate holder's.");
    mOk->setEnabled(problem.isEmpty());
    if (!fit.ok) {
        mFit->setText(problem);
        return;
    }
    const QString unit = unitSymbol(c.unit);
    for (std::size_t i = 0; i < fit.residuals.size(); ++i)
        mResidual[i]->setText(decimalText(fit.residuals[i], c.unit == StageUnit::Micrometre ? 1 : 4) + u' ' + unit);
    mFit->setText(QStringLiteral("Turned %1\u00b0, %2 % of the plate's size%3. %4")
                      .arg(decimalText(fit.rotationDegrees, 3), decimalText(fit.scale * 100, 2),
                           fit.mirrored ? QStringLiteral(", mirrored") : QString(), problem));
}

std::optional<Calibration> CalibrationDialog::ask(QWidget *parent, const PlateType &type, const Calibration &initial)
{
    CalibrationDialog dialog(type, initial, parent);
    centreOnScreen(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.calibration();
}

} // namespace Tessar

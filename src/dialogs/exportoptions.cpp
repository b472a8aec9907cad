#include "exportoptions.h"

#include "fixeddialog.h"
#include "screencentre.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Tessar {

ExportOptions::ExportOptions(const QString &title, int samplesWithData, int wellCount, ExportChoice initial, bool namesWells,
                             QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportOptions"));
    setWindowTitle(title);
    offerCloseOnly(this);

    auto *layout = new QVBoxLayout(this);
    mDataOnly = new QRadioButton(samplesWithData == 1
                                     ? QStringLiteral("&Only the sample that holds information (1)")
                                     : QStringLiteral("&Only the samples that hold information (%1)").arg(samplesWithData),
                                 this);
    mDataOnly->setObjectName(QStringLiteral("exportDataOnly"));
    layout->addWidget(mDataOnly);
    mAllWells = new QRadioButton(QStringLiteral("&Every well of the plate, empty ones too (%1)").arg(wellCount), this);
    mAllWells->setObjectName(QStringLiteral("exportAllWells"));
    layout->addWidget(mAllWells);
    (initial.allWells ? mAllWells : mDataOnly)->setChecked(true);
    if (namesWells && wellCount > 26 * 48) {
        mOwnLetters = new QCheckBox(QStringLiteral("Name rows 27 to 32 [ to ` as the &plate map does, not AA to AF"), this);
        mOwnLetters->setObjectName(QStringLiteral("exportOwnLetters"));
        mOwnLetters->setChecked(initial.ownLetters);
        layout->addSpacing(6);
        layout->addWidget(mOwnLetters);
    }

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("exportButtons"));
    QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("exportOk"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("exportCancel"));
    layout->addSpacing(6);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<ExportChoice> ExportOptions::run(QWidget *parent, const QString &title, int samplesWithData, int wellCount,
                                               ExportChoice initial, bool namesWells)
{
    ExportOptions options(title, samplesWithData, wellCount, initial, namesWells, parent);
    centreOnScreen(&options, parent);
    if (options.exec() != QDialog::Accepted)
        return std::nullopt;
    return options.choice();
}

ExportChoice ExportOptions::choice() const
{
    return {mAllWells->isChecked(), mOwnLetters && mOwnLetters->isChecked()};
}

} // namespace Tessar

#include "exportoptions.h"

#include "screencentre.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Tessar {

ExportOptions::ExportOptions(const QString &title, int samplesWithData, int wellCount, bool allWells, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportOptions"));
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

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
    (allWells ? mAllWells : mDataOnly)->setChecked(true);

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

std::optional<bool> ExportOptions::run(QWidget *parent, const QString &title, int samplesWithData, int wellCount,
                                       bool allWells)
{
    ExportOptions options(title, samplesWithData, wellCount, allWells, parent);
    centreOnScreen(&options, parent);
    if (options.exec() != QDialog::Accepted)
        return std::nullopt;
    return options.allWells();
}

bool ExportOptions::allWells() const
{
    return mAllWells->isChecked();
}

} // namespace Tessar

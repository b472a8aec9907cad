#include "imageoptions.h"

#include "fixeddialog.h"
#include "screencentre.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Tessar {

ImageOptions::ImageOptions(const QString &title, const State &state, const PictureOptions &initial, QWidget *parent)
    : QDialog(parent)
    , mState(state)
{
    setObjectName(QStringLiteral("ImageOptions"));
    setWindowTitle(title);
    offerCloseOnly(this);

    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    mWidth = new QSpinBox(this);
    mWidth->setObjectName(QStringLiteral("imageWidth"));
    mWidth->setRange(MinPictureWidth, MaxPictureWidth);
    mWidth->setSingleStep(100);
    mWidth->setSuffix(QStringLiteral(" pixels"));
    mWidth->setValue(initial.width);
    mWidth->setAccelerated(true);
    auto *widthLabel = new QLabel(QStringLiteral("&Width:"), this);
    widthLabel->setBuddy(mWidth);
    form->addRow(widthLabel, mWidth);

    // The plate keeps its proportions, so the height only follows.
    mHeight = new QLabel(this);
    mHeight->setObjectName(QStringLiteral("imageHeight"));
    form->addRow(QStringLiteral("Height:"), mHeight);
    layout->addLayout(form);

    mTitle = new QCheckBox(QStringLiteral("&Title: the file name and description above the plate"), this);
    mTitle->setObjectName(QStringLiteral("imageTitle"));
    mTitle->setChecked(initial.title);
    layout->addWidget(mTitle);
    mLegend = new QCheckBox(QStringLiteral("&Legend: the keys' colours and names below the plate"), this);
    mLegend->setObjectName(QStringLiteral("imageLegend"));
    mLegend->setChecked(initial.legend);
    layout->addWidget(mLegend);

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("imageButtons"));
    mOk = buttons->addButton(QDialogButtonBox::Ok);
    mOk->setObjectName(QStringLiteral("imageOk"));
    mOk->setDefault(true);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("imageCancel"));
    layout->addSpacing(6);
    layout->addWidget(buttons);

    connect(mOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mWidth, &QSpinBox::valueChanged, this, &ImageOptions::showHeight);
    connect(mTitle, &QCheckBox::toggled, this, &ImageOptions::showHeight);
    connect(mLegend, &QCheckBox::toggled, this, &ImageOptions::showHeight);
    showHeight();
    mWidth->setFocus();
    mWidth->selectAll();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

PictureOptions ImageOptions::chosen() const
{
    return {mWidth->value(), mTitle->isChecked(), mLegend->isChecked()};
}

std::optional<PictureOptions> ImageOptions::ask(QWidget *parent, const QString &title, const State &state,
                                                const PictureOptions &initial)
{
    ImageOptions dialog(title, state, initial, parent);
    centreOnScreen(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

// A picture past what one may have says why and cannot be made.
void ImageOptions::showHeight()
{
    const PictureOptions options = chosen();
    const QString problem = pictureSizeProblem(mState, options);
    mHeight->setText(problem.isEmpty()
                         ? QStringLiteral("%1 pixels").arg(picturePixels(mState, options).height())
                         : problem);
    mOk->setEnabled(problem.isEmpty());
}

} // namespace Tessar

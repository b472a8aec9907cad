#include "imageoptions.h"

#include "screencentre.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Tessar {

ImageOptions::ImageOptions(const State &state, const PictureSize &initial, QWidget *parent)
    : QDialog(parent)
    , mState(state)
{
    setObjectName(QStringLiteral("ImageOptions"));
    setWindowTitle(QStringLiteral("Image Size"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("The picture keeps the plate's proportions: its height follows from its width."),
                             this);
    intro->setObjectName(QStringLiteral("ImageIntro"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    mWidth = new QDoubleSpinBox(this);
    mWidth->setObjectName(QStringLiteral("ImageWidth"));
    mWidth->setRange(MinPictureWidthMm, MaxPictureWidthMm);
    mWidth->setDecimals(1);
    mWidth->setSuffix(QStringLiteral(" mm"));
    mWidth->setValue(initial.widthMm);
    form->addRow(QStringLiteral("&Width:"), mWidth);

    mDpi = new QSpinBox(this);
    mDpi->setObjectName(QStringLiteral("ImageDpi"));
    mDpi->setRange(MinPictureDpi, MaxPictureDpi);
    mDpi->setSingleStep(50);
    mDpi->setSuffix(QStringLiteral(" dpi"));
    mDpi->setValue(initial.dpi);
    form->addRow(QStringLiteral("&Resolution:"), mDpi);

    mPixels = new QLabel(this);
    mPixels->setObjectName(QStringLiteral("ImagePixels"));
    mPixels->setWordWrap(true);
    form->addRow(QStringLiteral("Size:"), mPixels);
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("ImageButtons"));
    mSave = buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::AcceptRole);
    mSave->setObjectName(QStringLiteral("ImageSave"));
    mSave->setDefault(true);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("ImageCancel"));
    layout->addWidget(buttons);

    connect(mSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mWidth, &QDoubleSpinBox::valueChanged, this, &ImageOptions::showPixels);
    connect(mDpi, &QSpinBox::valueChanged, this, &ImageOptions::showPixels);
    showPixels();
    mWidth->setFocus();
    mWidth->selectAll();
    setMinimumWidth(380);
}

PictureSize ImageOptions::chosen() const
{
    return {mWidth->value(), mDpi->value()};
}

std::optional<PictureSize> ImageOptions::ask(QWidget *parent, const State &state, const PictureSize &initial)
{
    ImageOptions dialog(state, initial, parent);
    centreOnScreen(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

// A size past the bounds says why and cannot be saved.
void ImageOptions::showPixels()
{
    const PictureSize size = chosen();
    const QString problem = pictureSizeProblem(mState, size);
    if (problem.isEmpty()) {
        const QSize pixels = picturePixels(mState, size);
        mPixels->setText(QStringLiteral("%1 \u00d7 %2 pixels").arg(pixels.width()).arg(pixels.height()));
    } else {
        mPixels->setText(problem);
    }
    mSave->setEnabled(problem.isEmpty());
}

} // namespace Tessar

#include "picturesize.h"

#include "picturelayout.h"

#include <cmath>

namespace Tessar {

namespace {

constexpr double MmPerInch = 25.4;
constexpr double DipsPerInch = 96;

bool widthInRange(double mm)
{
    return std::isfinite(mm) && mm >= MinPictureWidthMm && mm <= MaxPictureWidthMm;
}

bool dpiInRange(int dpi)
{
    return dpi >= MinPictureDpi && dpi <= MaxPictureDpi;
}

QString number(double value)
{
    return QString::number(value, 'g', 8);
}

} // namespace

int pictureWidth(const PictureSize &size)
{
    if (!widthInRange(size.widthMm) || !dpiInRange(size.dpi))
        return 0;
    return int(std::lround(size.widthMm / MmPerInch * size.dpi));
}

QSize picturePixels(const State &state, const PictureSize &size)
{
    const int width = pictureWidth(size);
    return width > 0 ? PictureLayout(state, width).size() : QSize();
}

double picturePixelsPerDip(const PictureSize &size)
{
    return dpiInRange(size.dpi) ? size.dpi / DipsPerInch : 1.0;
}

QString pictureSizeProblem(const State &state, const PictureSize &size)
{
    if (!widthInRange(size.widthMm))
        return QStringLiteral("The width must be a number of millimetres from %1 to %2.")
            .arg(number(MinPictureWidthMm), number(MaxPictureWidthMm));
    if (!dpiInRange(size.dpi))
        return QStringLiteral("The resolution must be a whole number of dpi from %1 to %2.")
            .arg(MinPictureDpi)
            .arg(MaxPictureDpi);
    const QSize pixels = picturePixels(state, size);
    const QString at = QStringLiteral("At %1 mm and %2 dpi the picture would be %3 \u00d7 %4 pixels")
                           .arg(number(size.widthMm))
                           .arg(size.dpi)
                           .arg(pixels.width())
                           .arg(pixels.height());
    if (pixels.width() < MinPicturePixels)
        return at + QStringLiteral(", too small to read: it needs to be at least %1 pixels wide.").arg(MinPicturePixels);
    if (pixels.width() > MaxPictureSide || pixels.height() > MaxPictureSide)
        return at + QStringLiteral(", more than the %1 pixels each way a picture may have.").arg(MaxPictureSide);
    return QString();
}

} // namespace Tessar

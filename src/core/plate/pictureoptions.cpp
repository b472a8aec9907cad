#include "core/plate/pictureoptions.h"

#include "core/plate/picturelayout.h"

#include <algorithm>

namespace Tessar {

namespace {

// The width at which a picture's lines are one pixel wide, about the
// map's own width on a large screen.
constexpr double OneDipWidth = 800;

bool widthInRange(int width)
{
    return width >= MinPictureWidth && width <= MaxPictureWidth;
}

} // namespace

QSize picturePixels(const State &state, const PictureOptions &options)
{
    return widthInRange(options.width) ? PictureLayout(state, options).size() : QSize();
}

double picturePixelsPerDip(const PictureOptions &options)
{
    return std::max(1.0, std::clamp(options.width, MinPictureWidth, MaxPictureWidth) / OneDipWidth);
}

QString pictureSizeProblem(const State &state, const PictureOptions &options)
{
    if (!widthInRange(options.width))
        return QStringLiteral("The picture's width must be from %1 to %2 pixels.").arg(MinPictureWidth).arg(MaxPictureWidth);
    const QSize pixels = picturePixels(state, options);
    if (pixels.height() > MaxPictureSide)
        return QStringLiteral("At %1 pixels wide the picture would be %2 pixels high, more than the %3 a picture may have.")
            .arg(options.width)
            .arg(pixels.height())
            .arg(MaxPictureSide);
    return QString();
}

} // namespace Tessar

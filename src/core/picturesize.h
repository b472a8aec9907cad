#pragma once

#include <QSize>
#include <QString>

namespace Tessar {

struct State;

// How large a plate picture is wanted: a printed width and the pixels per
// inch, the way a picture is placed in a report.
struct PictureSize
{
    double widthMm = 120;
    int dpi = 300;

    friend bool operator==(const PictureSize &, const PictureSize &) = default;
};

inline constexpr double MinPictureWidthMm = 10;
inline constexpr double MaxPictureWidthMm = 1000;
inline constexpr int MinPictureDpi = 50;
inline constexpr int MaxPictureDpi = 2400;
// Beyond this a picture costs hundreds of megabytes to draw and is of no
// more use; below the least width its text cannot be read.
inline constexpr int MaxPictureSide = 10000;
inline constexpr int MinPicturePixels = 200;

// The picture's width in pixels; 0 for a size that is no number.
int pictureWidth(const PictureSize &size);

// The picture's size in pixels, the height being what the document's
// layout makes of the width; empty for a size that is no number.
QSize picturePixels(const State &state, const PictureSize &size);

// Device pixels per device-independent pixel (1/96 inch): line widths and
// whether a disc carries its number follow the printed size, as on screen.
double picturePixelsPerDip(const PictureSize &size);

// Why no picture of this size is made, or an empty text when one is.
QString pictureSizeProblem(const State &state, const PictureSize &size);

} // namespace Tessar

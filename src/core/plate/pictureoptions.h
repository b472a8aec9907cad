#pragma once

#include <QSize>
#include <QString>

namespace Tessar {

struct State;

// What a plate picture is to show and how large: its width in pixels (the
// height is what the document's layout makes of it), and whether the
// document's name and description head it and the legend of keys follows.
struct PictureOptions
{
    // A map 120 mm wide at 300 dots per inch: sharp in a printed report.
    int width = 1417;
    bool title = true;
    bool legend = true;

    friend bool operator==(const PictureOptions &, const PictureOptions &) = default;
};

// Below the least width the edge labels and the legend cannot be read;
// past the greatest a picture costs hundreds of megabytes and is of no
// more use. No side may pass MaxPictureSide, whatever the width.
inline constexpr int MinPictureWidth = 200;
inline constexpr int MaxPictureWidth = 5000;
inline constexpr int MaxPictureSide = 10000;

// Pictures are drawn for print at this resolution, and their files say so:
// the width in pixels is then a width on paper.
inline constexpr int PictureDpi = 300;

// The picture's size in pixels; empty for a width out of range.
QSize picturePixels(const State &state, const PictureOptions &options);

// Picture pixels per device-independent pixel (1/96 inch): lines and the
// least disc that carries its number grow with the picture, so a large
// picture looks like the map on a large screen.
double picturePixelsPerDip(const PictureOptions &options);

// Why no picture is made with these options, or an empty text when one is.
QString pictureSizeProblem(const State &state, const PictureOptions &options);

} // namespace Tessar

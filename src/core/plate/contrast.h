#pragma once

namespace Tessar {

// A colour as three 8-bit channels, whatever the desktop makes of it.
struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Rgb &, const Rgb &) = default;
};

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};

// How light a colour looks, 0 (black) to 1 (white): the sRGB channels
// linearised and weighted as the accessibility guidelines do.
double relativeLuminance(Rgb colour);

// The accessibility guidelines' contrast ratio of two colours, 1 to 21,
// whichever order they come in. Body text needs at least 4.5.
double contrastRatio(Rgb a, Rgb b);

// Black or white, whichever stands out more on `background`. The better
// of the two never falls below 4.5:1, so text in it is always readable.
Rgb readableTextOn(Rgb background);

} // namespace Tessar

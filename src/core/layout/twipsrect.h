#pragma once

namespace Tessar {

// A control's place in its container, in twips.
struct TwipsRect
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

} // namespace Tessar

#include "colour.h"

#include <QPalette>

namespace Tessar {

namespace {

// The system colour numbers a document may hold and the palette role that plays the
// same part. Numbers without a counterpart fall back to the window text.
QPalette::ColorRole systemRole(unsigned number)
{
    switch (number) {
    case 1:  return QPalette::Window;          // desktop
    case 4:  return QPalette::Window;          // menu
    case 5:  return QPalette::Base;            // window background
    case 6:  return QPalette::Shadow;          // window frame
    case 7:  return QPalette::WindowText;      // menu text
    case 8:  return QPalette::Text;            // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;          // button face
    case 16: return QPalette::Dark;            // button shadow
    case 17: return QPalette::PlaceholderText; // grey text
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;           // button highlight
    case 21: return QPalette::Shadow;          // 3D dark shadow
    case 22: return QPalette::Midlight;        // 3D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::WindowText;
    }
}

} // namespace

QColor toQColor(Colour colour, const QPalette &palette)
{
    if (colour & 0x80000000u)
        return palette.color(QPalette::Active, systemRole(colour & 0xFFu));
    return QColor(int(colour & 0xFFu), int((colour >> 8) & 0xFFu), int((colour >> 16) & 0xFFu));
}

Colour fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return Colour(rgb.red()) | (Colour(rgb.green()) << 8) | (Colour(rgb.blue()) << 16);
}

} // namespace Tessar

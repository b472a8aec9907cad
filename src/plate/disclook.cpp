#include "disclook.h"

#include "platform/colour.h"

namespace Tessar {

WellLook discLook(const WellDisc &disc, const QPalette &palette)
{
    WellLook look;
    if (disc.shown) {
        look.disc = toQColor(disc.colour, palette);
        look.key = disc.key;
    }
    return look;
}

} // namespace Tessar

#pragma once

#include "core/document/state.h"

#include <QColor>

class QPalette;

namespace Tessar {

// The colour a stored value stands for on this desktop: 0x00BBGGRR is
// taken as it is, 0x800000nn is the palette's counterpart of the
// system colour nn (16, the button shadow, is QPalette::Dark).
QColor toQColor(Colour colour, const QPalette &palette);

// The stored form of a colour chosen on screen.
Colour fromQColor(const QColor &colour);

} // namespace Tessar

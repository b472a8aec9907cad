#pragma once

#include "core/plate/welldisc.h"
#include "welldrawing.h"

class QPalette;

namespace Tessar {

// How a well shows its disc, its ring black: the map and the exported
// pictures draw a sample's disc alike. A system colour stands for the
// palette's counterpart.
WellLook discLook(const WellDisc &disc, const QPalette &palette);

} // namespace Tessar

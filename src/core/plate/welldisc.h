#pragma once

#include "core/document/state.h"

namespace Tessar {

// The disc leaves a gap inside the ring.
inline constexpr float DiscScale = 0.666f;

// What a well's disc shows of its sample: nothing for a sample without
// data, else the colour of the key it names (the button shadow for none).
struct WellDisc
{
    bool shown = false;
    int key = 0;                          // 1 to 6; 0 for none
    Colour colour = ButtonShadowColour;   // as the document stores it

    friend bool operator==(const WellDisc &, const WellDisc &) = default;
};

// The disc of a sample with data that names key k (0: none).
WellDisc keyedDisc(const State &state, int key);

// The disc sample s shows on the map.
WellDisc wellDisc(const State &state, int s);

} // namespace Tessar

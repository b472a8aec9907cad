#include "core/plate/welldisc.h"

#include "core/plate/wellsummary.h"

namespace Tessar {

WellDisc keyedDisc(const State &state, int key)
{
    if (key < 1 || key > KeyCount)
        return {true, 0, ButtonShadowColour};
    return {true, key, state.keyColor[std::size_t(key)]};
}

WellDisc wellDisc(const State &state, int s)
{
    if (!SampleHasData(state, s))
        return {};
    return keyedDisc(state, discKey(state, s));
}

} // namespace Tessar

#include "core/layout/wheelsteps.h"

namespace Tessar {

namespace {
constexpr int Notch = 120;
}

int WheelSteps::add(int angleDelta)
{
    if ((angleDelta > 0 && mRest < 0) || (angleDelta < 0 && mRest > 0))
        mRest = 0;
    // Far more than any wheel turns at once; keeps the sum from overflowing.
    constexpr int Limit = 1 << 24;
    mRest += angleDelta < -Limit ? -Limit : angleDelta > Limit ? Limit : angleDelta;
    const int steps = mRest / Notch;
    mRest -= steps * Notch;
    return steps;
}

} // namespace Tessar

#pragma once

namespace Tessar {

// Turns wheel movement into whole steps: one notch of an ordinary wheel
// (an angle of 120) is one step, and the finer movement a touchpad reports
// adds up until it makes one. Turning back starts the count afresh.
class WheelSteps
{
public:
    // Steps for `angleDelta` more: positive away from the user (up).
    int add(int angleDelta);
    void reset() { mRest = 0; }

private:
    int mRest = 0;
};

} // namespace Tessar

#include "platemouse.h"

#include "platemap.h"
#include "core/plate/plategeometry.h"
#include "core/document/state.h"

#include <algorithm>
#include <utility>

namespace Tessar {

PlateMouse::PlateMouse(State &state, PlateMap &map)
    : mState(state)
    , mMap(map)
{
}

QString PlateMouse::move(float x, float y)
{
    mLastX = x;
    mLastY = y;
    if (!mDragging)
        hover();
    return statusText();
}

QString PlateMouse::statusText() const
{
    if (!isWell(mHitSample))
        return QString();
    if (!mDragging)
        return selectedText(mState, mHitSample);
    return QStringLiteral("Moving Sample: ") + spotname(mState, mHitSample).toString();
}

QString PlateMouse::selectedText(const State &state, int s)
{
    return QStringLiteral("Selected Sample: ") + spotname(state, s).toString();
}

void PlateMouse::hover()
{
    mHitSample = spotat(mState, mLastX, mLastY);
    mOverWell = isWell(mHitSample);
}

void PlateMouse::press()
{
    // The press point itself is not looked at: the last move decided.
    if (!mOverWell || !isWell(mHitSample))
        return;
    mDragging = true;
    mState.moveSample = SampleHasData(mState, mHitSample) ? mHitSample : 0;
    mMap.hilite(mHitSample);
}

int PlateMouse::release()
{
    const int source = mHitSample;
    // Only a press on a well starts a drag; any other release drops no
    // sample, least of all the one the last drag carried.
    const bool dropping = std::exchange(mDragging, false);
    hover();
    const int target = mHitSample;
    if (!isWell(source) || !isWell(target))
        return 0;
    if (dropping && isEmpty(target)) {
        mMap.fillpos(target);
        mMap.hilite(target);
        moveSample(source, target);
    }
    return target;
}

int PlateMouse::dropTarget() const
{
    const int target = spotat(mState, mLastX, mLastY);
    return isWell(target) ? target : 0;
}

void PlateMouse::reset()
{
    mHitSample = 0;
    mOverWell = false;
    mDragging = false;
    mLastX = -1;
    mLastY = -1;
}

// A sample number from before a plate change may lie beyond this plate.
bool PlateMouse::isWell(int s) const
{
    return s >= 1 && s <= mState.wellCount && mState.sampleTable.contains(s, 0);
}

// Empty over one row more than those in use, the row a move carries too.
bool PlateMouse::isEmpty(int s) const
{
    const int last = std::min(mState.fieldCount(), mState.sampleTable.lastField());
    for (int f = 0; f <= last; ++f) {
        if (!mState.sampleTable(s, f).isEmpty())
            return false;
    }
    return true;
}

// The key travels with the fields; nothing is swapped.
void PlateMouse::moveSample(int from, int to)
{
    const int last = std::min(mState.fieldCount(), mState.sampleTable.lastField());
    for (int f = 0; f <= last; ++f) {
        const QString text = mState.sampleTable(from, f);
        mState.sampleTable(to, f) = text;
        mState.sampleTable(from, f).clear();
    }
}

} // namespace Tessar

#pragma once

#include <QString>

namespace Tessar {

class PlateMap;
struct State;

// What the mouse does on the plate map: hovering names a well, a press
// selects it and picks up its sample, a release moves that sample onto an
// empty well. The window shows the status text and scrolls the frames.
class PlateMouse
{
public:
    PlateMouse(State &state, PlateMap &map);

    // The pointer moved to plate point (x, y). Returns the status line.
    QString move(float x, float y);

    // The well under the pointer, or the sample being dragged; empty when
    // the pointer is over no well.
    QString statusText() const;
    // The status line naming well s as selected: "Selected Sample: B 1".
    static QString selectedText(const State &state, int s);

    // A button went down over the well the last move found, if any.
    void press();

    // A button came up. Returns the well the frames should scroll to, or 0
    // when the drag ended off every well. Moves the dragged sample there
    // first when that well is empty. Afterwards the pointer is over the
    // drop point, so a press there without a move picks that well.
    int release();

    // Forgets the pointer and any drag: after a new layout or plate the
    // last move no longer says what lies under the pointer.
    void reset();

    int hitSample() const { return mHitSample; }
    // The well a release now would drop on, or 0.
    int dropTarget() const;
    bool dragging() const { return mDragging; }

private:
    void hover();
    bool isWell(int s) const;
    bool isEmpty(int s) const;
    void moveSample(int from, int to);

    State &mState;
    PlateMap &mMap;
    int mHitSample = 0;     // under the pointer; frozen on the source while dragging
    bool mOverWell = false;
    bool mDragging = false;
    float mLastX = -1;
    float mLastY = -1;
};

} // namespace Tessar

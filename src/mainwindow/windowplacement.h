#pragma once

#include "core/document/settings.h"

#include <QList>
#include <QRect>

namespace Tessar {

// Where a stored window goes: where it was, when it lies inside the
// available area of a screen. Otherwise on the screen that shows the most
// of it, or centred on the primary screen when none shows any (a screen
// that has since been unplugged, a hand-edited position), shrunk and moved
// just enough for the whole window, frame and all, to fit on that screen.
// Never smaller than a usable minimum. Rectangles are in pixels, the
// position the frame's and the size the client area's; `screens` are the
// screens' available areas.
QRect restoredGeometry(const QRect &stored, const QList<QRect> &screens, const QRect &primary);

// The placement the settings gave, and the pixels it became.
struct StoredPlacement
{
    WindowPlacement twips;
    QRect pixels;
};

// The placement to write back for a window now at `now`, in pixels. A
// measure whose pixels are still those the stored one became is written
// back exactly as it was read: converting the pixels back would round it
// (a stored height of 4600 twips would come back as 4605).
WindowPlacement placementToStore(const QRect &now, const StoredPlacement &stored);

} // namespace Tessar

#pragma once

#include <QList>
#include <QRect>

namespace Tessar {

// Where a stored window goes: as stored, unless it is too small to use or
// no screen shows enough of its top edge to grab it (a screen that has since
// been unplugged, a hand-edited position), in which case it is centred on
// the primary screen. Rectangles are in pixels; `screens` are the screens'
// available areas.
QRect restoredGeometry(const QRect &stored, const QList<QRect> &screens, const QRect &primary);

} // namespace Tessar

#include "windowplacement.h"

#include <algorithm>

namespace Tessar {

namespace {

constexpr int MinimumWidth = 160;
constexpr int MinimumHeight = 120;
constexpr int GrabHeight = 24;     // about a title bar
constexpr int GrabWidth = 80;

bool canBeGrabbed(const QRect &window, const QList<QRect> &screens)
{
    const QRect topEdge(window.left(), window.top(), window.width(), GrabHeight);
    const int wantedWidth = std::min(GrabWidth, window.width());
    return std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        const QRect seen = topEdge.intersected(screen);
        return seen.width() >= wantedWidth && seen.height() >= GrabHeight / 2;
    });
}

} // namespace

QRect restoredGeometry(const QRect &stored, const QList<QRect> &screens, const QRect &primary)
{
    QRect window = stored;
    window.setWidth(std::max(stored.width(), MinimumWidth));
    window.setHeight(std::max(stored.height(), MinimumHeight));
    if (screens.isEmpty() || primary.isEmpty() || canBeGrabbed(window, screens))
        return window;

    window.moveCenter(primary.center());
    // A window larger than the screen keeps its title bar on it.
    window.moveLeft(std::max(window.left(), primary.left()));
    window.moveTop(std::max(window.top(), primary.top()));
    return window;
}

} // namespace Tessar

#include "windowplacement.h"

#include "platform/twips.h"

#include <QMargins>

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

constexpr int MinimumWidth = 160;
constexpr int MinimumHeight = 120;
// With no screen to fit to, still nothing near the sizes a hand-edited
// setting can ask for.
constexpr int LargestSide = 8192;
// About what a window manager puts around a window: a title bar and borders.
constexpr QMargins TypicalFrame(4, 30, 4, 4);

qint64 area(const QRect &rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

} // namespace

QRect restoredGeometry(const QRect &stored, const QList<QRect> &screens, const QRect &primary)
{
    QRect window = stored;
    window.setWidth(std::clamp(stored.width(), MinimumWidth, LargestSide));
    window.setHeight(std::clamp(stored.height(), MinimumHeight, LargestSide));
    if (screens.isEmpty() || primary.isEmpty())
        return window;

    QRect screen;
    qint64 shown = 0;
    for (const QRect &candidate : screens) {
        const qint64 overlap = area(window.intersected(candidate));
        if (overlap > shown) {
            shown = overlap;
            screen = candidate;
        }
    }
    // Where the user left it, as far as we can tell: the frame is not
    // known before the window shows, and a window a user placed fits with it.
    if (shown > 0 && screen.contains(window))
        return window;

    // Otherwise the whole frame, title bar and borders too, goes on the screen.
    const QSize border(TypicalFrame.left() + TypicalFrame.right(), TypicalFrame.top() + TypicalFrame.bottom());
    if (shown == 0)
        screen = primary;
    QRect frame(window.topLeft(), (window.size() + border).boundedTo(screen.size()));
    if (shown == 0)
        frame.moveCenter(screen.center());
    frame.moveLeft(std::clamp(frame.left(), screen.left(), screen.right() - frame.width() + 1));
    frame.moveTop(std::clamp(frame.top(), screen.top(), screen.bottom() - frame.height() + 1));
    return QRect(frame.topLeft(), (frame.size() - border).expandedTo(QSize(1, 1)));
}

WindowPlacement placementToStore(const QRect &now, const StoredPlacement &stored)
{
    const auto keep = [](int pixels, int storedPixels, double storedTwips) {
        return pixels == storedPixels && std::isfinite(storedTwips) ? storedTwips : pixelsToTwips(pixels);
    };
    WindowPlacement placement;
    placement.left = keep(now.left(), stored.pixels.left(), stored.twips.left);
    placement.top = keep(now.top(), stored.pixels.top(), stored.twips.top);
    placement.width = keep(now.width(), stored.pixels.width(), stored.twips.width);
    placement.height = keep(now.height(), stored.pixels.height(), stored.twips.height);
    return placement;
}

} // namespace Tessar

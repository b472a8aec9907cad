#include "twiprect.h"

#include "platform/twips.h"

namespace Tessar {

QRect toPixels(const TwipRect &rect)
{
    // Converting both edges, not the size, keeps neighbouring controls
    // from drifting apart through rounding.
    const int left = twipsToPixels(rect.left);
    const int top = twipsToPixels(rect.top);
    return QRect(left, top, twipsToPixels(rect.right()) - left, twipsToPixels(rect.bottom()) - top);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return toPixels(TwipRect{left, top, width, height});
}

} // namespace Tessar

#include "twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {
constexpr double TwipsPerInch = 1440.0;
constexpr double FallbackDpi = 96.0;
}

double logicalDpi()
{
    // Without a screen (a command-line run, or before the application
    // exists) the usual desktop resolution keeps the arithmetic sane.
    if (!QGuiApplication::instance())
        return FallbackDpi;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return FallbackDpi;
    const double dpi = screen->logicalDotsPerInchY();
    return (std::isfinite(dpi) && dpi >= 24.0) ? dpi : FallbackDpi;
}

int twipsToPixels(double twips)
{
    if (!std::isfinite(twips))
        return 0;
    const double pixels = std::round(twips * logicalDpi() / TwipsPerInch);
    // Far beyond any screen; clamping keeps the conversion to int defined.
    constexpr double Limit = 1.0e7;
    return int(std::clamp(pixels, -Limit, Limit));
}

double pixelsToTwips(double pixels)
{
    return pixels * TwipsPerInch / logicalDpi();
}

QRect toPixels(const TwipsRect &rect)
{
    const int left = twipsToPixels(rect.left);
    const int top = twipsToPixels(rect.top);
    return QRect(left, top, std::max(twipsToPixels(rect.right()) - left, 0),
                 std::max(twipsToPixels(rect.bottom()) - top, 0));
}

QRect twipsRect(double left, double top, double width, double height)
{
    return toPixels(TwipsRect{left, top, width, height});
}

} // namespace Tessar

#pragma once

#include "core/layout/twipsrect.h"

#include <QRect>

namespace Tessar {

// Window lengths are worked out in twips (1440 to the inch) and shown in
// pixels through the screen's logical resolution.
int twipsToPixels(double twips);
double pixelsToTwips(double pixels);

// The logical dots per inch used for both conversions (96 when there is no screen).
double logicalDpi();

// A place in twips as pixels. Both edges are converted, not the size, so
// neighbouring controls do not drift apart through rounding; a size that
// would come out negative is none.
QRect toPixels(const TwipsRect &rect);
QRect twipsRect(double left, double top, double width, double height);

} // namespace Tessar

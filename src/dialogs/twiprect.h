#pragma once

#include "core/configlayout.h"

#include <QRect>

namespace Tessar {

// Places given in twips, as the dialogs are designed, turned into pixels.
QRect toPixels(const TwipRect &rect);
QRect twipsRect(int left, int top, int width, int height);

} // namespace Tessar

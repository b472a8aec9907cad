#pragma once

namespace Tessar {

// Window lengths are worked out in twips (1440 to the inch) and shown in
// pixels through the screen's logical resolution.
int twipsToPixels(double twips);
double pixelsToTwips(double pixels);

// The logical dots per inch used for both conversions (96 when there is no screen).
double logicalDpi();

} // namespace Tessar

#pragma once

#include <QColor>

#include <vector>

class QPainter;

namespace Tessar {

class PictureLayout;

// The route's ink: no key's colour, so it stands out over any plate.
inline const QColor RouteColour(0xE0, 0x50, 0x00);
inline const QColor RouteStartColour(0x00, 0x90, 0x30);

// Draws the stage's route over a plate picture: a line from well to well
// in visit order, a ring round the first, and the number of each stop
// beside its well wherever the wells leave room to read it.
void paintRoute(QPainter &painter, const PictureLayout &layout, const std::vector<int> &samples, double pixelsPerDip);

} // namespace Tessar

#pragma once

#include <QPointF>
#include <QRectF>

namespace Tessar {

// Where the plate's own units land on a surface: the plate (x 0 to 81 left
// to right, y 0 to 123 bottom to top) fills `area`, and a radius is
// measured along x. The screen's map and an exported picture both place
// their wells through it.
class PlateProjection
{
public:
    PlateProjection() = default;
    explicit PlateProjection(const QRectF &area);

    const QRectF &area() const { return mArea; }
    QPointF toPixel(float x, float y) const;
    double toPixelRadius(float radius) const;
    // The plate point at a surface point; (-1, -1) for an empty area.
    QPointF toPlate(QPointF pixel) const;

private:
    QRectF mArea;
};

} // namespace Tessar

#include "core/plate/plateprojection.h"

#include "core/plate/plategeometry.h"

namespace Tessar {

PlateProjection::PlateProjection(const QRectF &area)
    : mArea(area)
{
}

QPointF PlateProjection::toPixel(float x, float y) const
{
    return {mArea.left() + double(x) / PlateWidth * mArea.width(),
            mArea.top() + (PlateHeight - double(y)) / PlateHeight * mArea.height()};
}

double PlateProjection::toPixelRadius(float radius) const
{
    return double(radius) / PlateWidth * mArea.width();
}

QPointF PlateProjection::toPlate(QPointF pixel) const
{
    if (!(mArea.width() > 0) || !(mArea.height() > 0))
        return {-1, -1};
    const QPointF inside = pixel - mArea.topLeft();
    return {inside.x() / mArea.width() * PlateWidth, PlateHeight - inside.y() / mArea.height() * PlateHeight};
}

} // namespace Tessar

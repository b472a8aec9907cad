#include "picwell.h"

#include "core/plategeometry.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace Tessar {

PicWell::PicWell(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PicWell"));
    // Every pixel comes from the image; nothing behind needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PicWell::clear()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    mImage = QImage(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    mImage.setDevicePixelRatio(ratio);
    mImage.fill(backColor());
    update();
}

void PicWell::circle(float x, float y, float radius, const QColor &outline,
                     const std::optional<QColor> &fill)
{
    if (mImage.isNull() || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius))
        return;
    QPainter painter(&mImage);
    // Without smoothing the same circle always covers the same pixels, so
    // drawing a ring black over red, or a disc in the background colour,
    // leaves no trace of what was there.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(outline, 0));
    painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    const double r = toPixelRadius(radius);
    painter.drawEllipse(toPixel(x, y), r, r);
    update();
}

QColor PicWell::backColor() const
{
    // The button face, unless the style makes it look like something the
    // map draws (rings, the red ring, a disc without key).
    const QColor face = palette().color(QPalette::Button);
    if (face != palette().color(QPalette::Dark) && face != QColor(Qt::black) && face != QColor(Qt::red))
        return face;
    return QColor(0xF0, 0xF0, 0xF0);
}

QPointF PicWell::toPixel(float x, float y) const
{
    return {double(x) / PlateWidth * width(), (PlateHeight - double(y)) / PlateHeight * height()};
}

double PicWell::toPixelRadius(float radius) const
{
    return double(radius) / PlateWidth * width();
}

QColor PicWell::pixelAt(QPoint pixel) const
{
    const QPoint device = (QPointF(pixel) * mImage.devicePixelRatio()).toPoint();
    if (!mImage.valid(device))
        return {};
    return mImage.pixelColor(device);
}

void PicWell::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (mImage.isNull()) {
        painter.fillRect(event->rect(), backColor());
        return;
    }
    painter.drawImage(QPoint(0, 0), mImage);
    // Between a resize and the redraw that follows it the image may be smaller.
    const QRect covered(QPoint(0, 0), mImage.deviceIndependentSize().toSize());
    if (!covered.contains(rect())) {
        const QRegion rest = QRegion(rect()).subtracted(covered);
        for (const QRect &part : rest)
            painter.fillRect(part, backColor());
    }
}

} // namespace Tessar

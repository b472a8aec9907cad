#include "routedrawing.h"

#include "core/plate/picturelayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace Tessar {

void paintRoute(QPainter &painter, const PictureLayout &layout, const std::vector<int> &samples, double pixelsPerDip)
{
    if (samples.empty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double line = std::max(1.0, 1.5 * pixelsPerDip);
    QPainterPath path;
    path.moveTo(layout.wellCentre(samples.front()));
    for (std::size_t i = 1; i < samples.size(); ++i)
        path.lineTo(layout.wellCentre(samples[i]));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(RouteColour, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(RouteStartColour, 2 * line));
    const double ring = std::max(layout.ringRadius() * 1.15, 3 * line);
    painter.drawEllipse(layout.wellCentre(samples.front()), ring, ring);

    // Each stop's number on a white label at the top right of its well,
    // where wells are large enough that the labels leave the plate readable.
    const double ringRadius = layout.ringRadius();
    const double size = std::max(8 * pixelsPerDip, ringRadius);
    if (size <= ringRadius * 1.3) {
        QFont font(QStringLiteral("sans-serif"));
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(std::max(1, int(size)));
        painter.setFont(font);
        const QFontMetricsF metrics(font);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const QString text = QString::number(i + 1);
            const QPointF c = layout.wellCentre(samples[i]);
            const QRectF box(c.x() + ringRadius * 0.3, c.y() - ringRadius * 0.3 - metrics.height(),
                             metrics.horizontalAdvance(text) + 2 * pixelsPerDip, metrics.height());
            painter.setPen(QPen(RouteColour, std::max(1.0, 0.75 * pixelsPerDip)));
            painter.setBrush(Qt::white);
            painter.drawRect(box);
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignCenter, text);
        }
    }
    painter.restore();
}

} // namespace Tessar

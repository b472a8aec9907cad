#include "welldrawing.h"

#include "core/plate/contrast.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

// A pale blue band marks the wells the sample frames show: quieter than the
// red ring of the selected well and unlike any disc, since it stays outside
// the ring.
const QColor FrameMarkFill(0xD6, 0xE6, 0xF8);
const QColor FrameMarkEdge(0x6A, 0x9B, 0xD8);

// The digit's height against the disc's width: large enough to read at a
// glance, small enough to leave the disc's colour around it.
constexpr double DigitShare = 0.55;

Rgb toRgb(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return {rgb.red(), rgb.green(), rgb.blue()};
}

double ringWidth(const WellPlace &place, const WellLook &look)
{
    return (look.selected ? 2 : 1) * place.pixelsPerDip;
}

void paintFrameMark(QPainter &painter, const WellPlace &place)
{
    const double dip = place.pixelsPerDip;
    const double gap = std::max(dip, place.patch.width() * 0.06);
    // Around the ring, not the whole patch: on a sparse plate a full patch
    // would swamp the wells.
    const double half = std::min({place.patch.width() / 2 - gap, place.patch.height() / 2 - gap,
                                  place.ringRadius * 1.45});
    if (!(half > place.ringRadius))
        return;
    const QRectF square(place.centre - QPointF(half, half), QSizeF(2 * half, 2 * half));
    const double corner = half * 0.3;
    QPainterPath band;
    band.setFillRule(Qt::OddEvenFill);
    band.addRoundedRect(square, corner, corner);
    // Inside the ring the well keeps the plate's own colour, so an empty
    // well still looks empty.
    band.addEllipse(place.centre, place.ringRadius, place.ringRadius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FrameMarkFill);
    painter.drawPath(band);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(FrameMarkEdge, dip));
    const double inset = dip / 2;
    painter.drawRoundedRect(square.adjusted(inset, inset, -inset, -inset), corner, corner);
}

// A picked well stands on a dark patch that touches its picked neighbours,
// so a selection reads as one dark block by lightness alone, whatever the
// key colours; its black ring turns white to stay visible on it.
void paintPickMark(QPainter &painter, const WellPlace &place)
{
    if (place.patch.isEmpty())
        return;
    painter.fillRect(place.patch, PickedFill);
}

void paintNumber(QPainter &painter, const WellPlace &place, const QColor &disc, int key)
{
    const QString digit = QString::number(key);
    // The painter's family: the screen's, or the one a picture is set in.
    QFont font = painter.font();
    font.setBold(true);
    // Glyph heights scale with the pixel size; digits are about 0.7 of it.
    font.setPixelSize(std::max(1, int(std::lround(2 * place.discRadius * DigitShare / 0.7))));
    const QFontMetricsF metrics(font, painter.device());
    const QRectF glyph = metrics.tightBoundingRect(digit);
    const QPointF baseline = place.centre - glyph.center();
    const Rgb text = readableTextOn(toRgb(disc));
    painter.setFont(font);
    painter.setPen(QColor(text.red, text.green, text.blue));
    painter.drawText(baseline, digit);
}

} // namespace

bool carriesNumber(const WellPlace &place, const WellLook &look)
{
    return look.disc && look.key >= 1 && look.key <= 9 && place.pixelsPerDip > 0
        && 2 * place.discRadius / place.pixelsPerDip >= NumberedDiscWidth;
}

double wellReach(const WellPlace &place, const WellLook &look)
{
    return std::max(place.ringRadius + ringWidth(place, look) / 2, place.discRadius + place.pixelsPerDip / 2);
}

void paintWell(QPainter &painter, const WellPlace &place, const WellLook &look)
{
    if (!std::isfinite(place.centre.x()) || !std::isfinite(place.centre.y()) || !(place.ringRadius >= 0)
        || !(place.discRadius >= 0) || !(place.pixelsPerDip > 0))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const double dip = place.pixelsPerDip;
    if (look.picked)
        paintPickMark(painter, place);
    else if (look.framed)
        paintFrameMark(painter, place);
    const bool blackRing = look.ring == QColor(Qt::black);
    painter.setPen(QPen(look.picked && blackRing ? QColor(Qt::white) : look.ring, ringWidth(place, look)));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(place.centre, place.ringRadius, place.ringRadius);
    if (look.disc) {
        painter.setPen(QPen(look.picked ? QColor(Qt::white) : QColor(Qt::black), dip));
        painter.setBrush(*look.disc);
        painter.drawEllipse(place.centre, place.discRadius, place.discRadius);
        if (carriesNumber(place, look))
            paintNumber(painter, place, *look.disc, look.key);
    }
    painter.restore();
}

} // namespace Tessar

#include "platepicture.h"

#include "core/plate/picturelayout.h"
#include "core/document/state.h"
#include "disclook.h"
#include "welldrawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>

#include <cmath>

namespace Tessar {

namespace {

const QColor PlateEdge(0x80, 0x80, 0x80);
const QColor QuietText(0x40, 0x40, 0x40);

// The system colours a document may name, as the classic desktop shows
// them; the one that matters is the button shadow of discs without a key.
QPalette classicPalette()
{
    QPalette palette(Qt::black, QColor(0xC0, 0xC0, 0xC0), Qt::white, QColor(0x80, 0x80, 0x80),
                     QColor(0xA0, 0xA0, 0xA0), Qt::black, Qt::white, Qt::white, QColor(0xC0, 0xC0, 0xC0));
    palette.setColor(QPalette::Midlight, QColor(0xDF, 0xDF, 0xDF));
    palette.setColor(QPalette::Shadow, QColor(0x40, 0x40, 0x40));
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    return palette;
}

// The same family wherever the picture is made, the desktop program or
// the command line, whatever font the desktop gives its windows.
QFont pictureFont(double pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    return font;
}

// A line at the left of its box, cut with an ellipsis where it is too long.
void drawLine(QPainter &painter, const PictureText &line, bool bold, const QColor &colour)
{
    if (line.text.isEmpty())
        return;
    const QFont font = pictureFont(line.size, bold);
    const QFontMetricsF metrics(font, painter.device());
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(line.box, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(line.text, Qt::ElideRight, line.box.width()));
}

// Centred on its point by the height of a capital, so letters and digits
// of a row share one baseline.
void drawLabel(QPainter &painter, const PictureText &label)
{
    const QFont font = pictureFont(label.size);
    const QFontMetricsF metrics(font, painter.device());
    painter.setFont(font);
    painter.drawText(QPointF(label.centre.x() - metrics.horizontalAdvance(label.text) / 2,
                             label.centre.y() + metrics.capHeight() / 2),
                     label.text);
}

void drawPlate(QPainter &painter, const PictureLayout &layout, double dip)
{
    const QRectF plate = layout.plate();
    const double corner = plate.width() * 0.02;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(PlateEdge, dip));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(plate.adjusted(dip / 2, dip / 2, -dip / 2, -dip / 2), corner, corner);
    painter.setPen(QuietText);
    for (const PictureText &label : layout.rowLabels())
        drawLabel(painter, label);
    for (const PictureText &label : layout.columnLabels())
        drawLabel(painter, label);
}

void drawLegend(QPainter &painter, const PictureLayout &layout, const QPalette &palette, double dip)
{
    for (const LegendSlot &slot : layout.legend()) {
        const WellPlace place{slot.swatch, slot.ringRadius, slot.ringRadius * DiscScale, QRectF(), dip};
        paintWell(painter, place, discLook(slot.entry.disc, palette));

        const QFont font = pictureFont(slot.size);
        const QFontMetricsF metrics(font, painter.device());
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(slot.text, Qt::AlignRight | Qt::AlignVCenter, slot.entry.amount);
        const double room = slot.text.width() - metrics.horizontalAdvance(slot.entry.amount) - metrics.averageCharWidth() * 2;
        painter.drawText(slot.text, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(slot.entry.label, Qt::ElideRight, std::max(0.0, room)));
    }
}

} // namespace

void paintPlatePicture(QPainter &painter, const State &state, const PictureLayout &layout, double pixelsPerDip)
{
    const double dip = std::isfinite(pixelsPerDip) && pixelsPerDip > 0 ? pixelsPerDip : 1.0;
    const QPalette palette = classicPalette();
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(layout.size())), Qt::white);

    drawLine(painter, layout.title(), true, Qt::black);
    drawLine(painter, layout.description(), false, QuietText);
    drawPlate(painter, layout, dip);

    // The well painter takes its digits' family from the painter.
    painter.setFont(pictureFont(layout.discRadius()));
    const double patch = layout.patch();
    for (int s = 1; s <= state.wellCount; ++s) {
        const QPointF centre = layout.wellCentre(s);
        const WellPlace place{centre, layout.ringRadius(), layout.discRadius(),
                              QRectF(centre - QPointF(patch, patch), QSizeF(2 * patch, 2 * patch)), dip};
        paintWell(painter, place, discLook(wellDisc(state, s), palette));
    }

    drawLegend(painter, layout, palette, dip);
    painter.restore();
}

} // namespace Tessar

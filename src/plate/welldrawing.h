#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

#include <optional>

class QPainter;

namespace Tessar {

// What one well of the plate map shows.
struct WellLook
{
    QColor ring = Qt::black;
    bool selected = false;        // the ring is drawn twice as wide, so that the
                                  // selection shows by more than its colour
    std::optional<QColor> disc;   // none: no disc, the well is empty
    int key = 0;                  // the key number the disc carries, 1 to 6; 0 none
    bool framed = false;          // its sample is in view in a sample frame
    bool picked = false;          // in the selection made on the map for plate-wide commands

    friend bool operator==(const WellLook &, const WellLook &) = default;
};

// Where one well lies, in the painter's own pixels.
struct WellPlace
{
    QPointF centre;
    double ringRadius = 0;
    double discRadius = 0;
    QRectF patch;              // the well's share of the plate; the frame mark keeps inside it
    double pixelsPerDip = 1;   // painter pixels per device-independent pixel
};

// A disc this wide (device-independent pixels) or wider carries its key's
// number; below that the digit would be a smudge and the colour says it alone.
inline constexpr double NumberedDiscWidth = 12;

// A point of the disc the number never covers, as a fraction of the disc's
// radius straight below its centre: there the disc shows its own colour.
inline constexpr double DiscFillProbe = 0.8;

// The dark patch a picked well is drawn on, filling its share of the plate
// (a block of them reads as one by lightness alone).
inline const QColor PickedFill{0x26, 0x2E, 0x3D};

bool carriesNumber(const WellPlace &place, const WellLook &look);

// How far the well's drawing reaches from its centre, in the place's pixels.
double wellReach(const WellPlace &place, const WellLook &look);

// Paints one well with vector operations, on whatever the painter paints
// on: the screen's retained image, an exported picture, a printed page.
// The frame mark goes behind the ring, the ring around the disc, the key
// number inside the disc in black or white, whichever stands out more.
void paintWell(QPainter &painter, const WellPlace &place, const WellLook &look);

} // namespace Tessar

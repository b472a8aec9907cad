#pragma once

#include "core/plate/picturelegend.h"
#include "core/plate/pictureoptions.h"
#include "core/plate/plateprojection.h"

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

namespace Tessar {

struct State;

// A line of text in a plate picture: centred on a point, or in a box.
struct PictureText
{
    QString text;
    QPointF centre;
    QRectF box;
    double size = 0;   // the font's pixel size
};

// One legend line: a well drawn as the map draws it, then its text.
struct LegendSlot
{
    LegendEntry entry;
    QPointF swatch;
    double ringRadius = 0;
    QRectF text;
    double size = 0;
};

// Where everything of a plate picture goes for the options' width in
// pixels: the document's name and description on top (when asked for), the plate as the screen's
// map shows it with its row letters along the top edge (A at the left)
// and column numbers along the left edge (1 at the bottom), and the legend
// of keys below (when asked for). Every length follows the width, so a picture looks the
// same at any size; the height is what the width makes it.
class PictureLayout
{
public:
    PictureLayout(const State &state, const PictureOptions &options);

    QSize size() const { return mSize; }

    const PictureText &title() const { return mTitle; }
    // Empty text and box when there is no title, or the document has no description.
    const PictureText &description() const { return mDescription; }

    QRectF plate() const { return mProjection.area(); }
    const PlateProjection &projection() const { return mProjection; }
    // Of sample s's well, in pixels; none outside the plate.
    QPointF wellCentre(int s) const;
    double ringRadius() const { return mRingRadius; }
    double discRadius() const { return mDiscRadius; }
    // The part of the plate that belongs to one well, around its centre.
    double patch() const { return mPatch; }

    const std::vector<PictureText> &rowLabels() const { return mRowLabels; }
    const std::vector<PictureText> &columnLabels() const { return mColumnLabels; }
    const std::vector<LegendSlot> &legend() const { return mLegend; }

    // The document's name as the title shows it: its file name, or
    // "Untitled" before it has one.
    static QString titleOf(const State &state);

private:
    void placeEdgeLabels(const State &state);
    void placeLegend(const State &state, double top, double unit);

    QSize mSize;
    PictureText mTitle;
    PictureText mDescription;
    PlateProjection mProjection;
    double mRingRadius = 0;
    double mDiscRadius = 0;
    double mPatch = 0;
    std::vector<QPointF> mCentres;   // by sample number
    std::vector<PictureText> mRowLabels;
    std::vector<PictureText> mColumnLabels;
    std::vector<LegendSlot> mLegend;
};

} // namespace Tessar

#include "core/plate/picturelayout.h"

#include "core/plate/plategeometry.h"
#include "core/plate/wellname.h"
#include "core/document/state.h"
#include "core/plate/wellsummary.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

// In hundredths of the picture's width.
constexpr double Margin = 4;
constexpr double TitleHeight = 5;
constexpr double TitleSize = 3.6;
constexpr double DescriptionHeight = 3.6;
constexpr double DescriptionSize = 2.6;
constexpr double GapAbovePlate = 2.5;
constexpr double GapAboveLegend = 3;
constexpr int LegendColumns = 2;
constexpr double LegendRowHeight = 5.5;
constexpr double SwatchRadius = 2.2;
constexpr double LegendTextSize = 2.6;

// Edge labels never grow past this many plate units, however much room a
// sparse plate leaves them.
constexpr double LargestLabel = 3.5;
// A digit's width against the font's pixel size, with some to spare.
constexpr double DigitWidth = 0.7;

constexpr int DescriptionLength = 500;   // the picture shortens further to fit

// A new document's description box holds this prompt; left so, it describes nothing.
const QString DescriptionPrompt = QStringLiteral("Description:");

} // namespace

PictureLayout::PictureLayout(const State &state, const PictureOptions &options)
{
    const int width = std::max(options.width, 1);
    const double unit = width / 100.0;
    const double margin = Margin * unit;
    const double inner = width - 2 * margin;
    double y = margin;

    if (options.title) {
        mTitle.text = titleOf(state);
        mTitle.box = QRectF(margin, y, inner, TitleHeight * unit);
        mTitle.centre = mTitle.box.center();
        mTitle.size = TitleSize * unit;
        y += TitleHeight * unit;
        // One line: a description typed over several is read as one.
        const QString description = shortened(state.fileDesc, DescriptionLength).simplified();
        if (!description.isEmpty() && description != DescriptionPrompt) {
            mDescription.text = description;
            mDescription.box = QRectF(margin, y, inner, DescriptionHeight * unit);
            mDescription.centre = mDescription.box.center();
            mDescription.size = DescriptionSize * unit;
            y += DescriptionHeight * unit;
        }
        y += GapAbovePlate * unit;
    }

    // The plate keeps the screen map's proportions, 81 by 123 plate units.
    mProjection = PlateProjection(QRectF(margin, y, inner, inner * PlateHeight / PlateWidth));
    y += mProjection.area().height();

    const PlateFormat *format = plateFormat(state.wellCount);
    if (format && state.spotX.size() > std::size_t(state.wellCount) && state.spotY.size() > std::size_t(state.wellCount)) {
        mRingRadius = mProjection.toPixelRadius(state.spotRad);
        mDiscRadius = mProjection.toPixelRadius(state.spotRad * DiscScale);
        mPatch = mProjection.toPixelRadius(format->pitch / 2);
        mCentres.assign(std::size_t(state.wellCount) + 1, QPointF());
        for (int s = 1; s <= state.wellCount; ++s)
            mCentres[std::size_t(s)] = mProjection.toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]);
        placeEdgeLabels(state);
    }

    if (options.legend) {
        y += GapAboveLegend * unit;
        placeLegend(state, y, unit);
        for (const LegendSlot &slot : mLegend)
            y = std::max(y, slot.text.bottom());
    }
    y += margin;
    mSize = QSize(width, int(std::ceil(y - 1e-6)));
}

QPointF PictureLayout::wellCentre(int s) const
{
    return s >= 1 && std::size_t(s) < mCentres.size() ? mCentres[std::size_t(s)] : QPointF();
}

QString PictureLayout::titleOf(const State &state)
{
    QString title = state.fileTitle;
    if (title.isEmpty() && !state.filePath.isEmpty())
        title = QFileInfo(state.filePath).fileName();
    return title.isEmpty() ? QStringLiteral("Untitled") : shortened(title, DescriptionLength);
}

// In the plate's margins, where a real plate has them moulded: the letters
// between the top edge and the highest rings, the numbers between the left
// edge and the first row of rings.
void PictureLayout::placeEdgeLabels(const State &state)
{
    const PlateFormat &format = *plateFormat(state.wellCount);
    const int rows = format.rows;
    const int cols = format.cols;
    const float top = state.spotY[std::size_t(cols)] + state.spotRad;
    const float topMargin = PlateHeight - top;
    const float leftMargin = state.spotX[1] - state.spotRad;
    const double digits = QString::number(cols).size();
    const double units = std::min({0.5 * format.pitch, 0.6 * topMargin, 0.8 * leftMargin / (DigitWidth * digits),
                                   LargestLabel});
    const double size = mProjection.toPixelRadius(float(units));

    for (int r = 1; r <= rows; ++r) {
        const int s = (r - 1) * cols + 1;
        const QPointF centre = mProjection.toPixel(state.spotX[std::size_t(s)], (PlateHeight + top) / 2);
        mRowLabels.push_back({standardRowName(r), centre, QRectF(), size});
    }
    for (int c = 1; c <= cols; ++c) {
        const QPointF centre = mProjection.toPixel(leftMargin / 2, state.spotY[std::size_t(c)]);
        mColumnLabels.push_back({QString::number(c), centre, QRectF(), size});
    }
}

// Down the first column, then the second, so the keys read in order.
void PictureLayout::placeLegend(const State &state, double top, double unit)
{
    const std::vector<LegendEntry> entries = pictureLegend(state);
    if (entries.empty())
        return;
    const double margin = Margin * unit;
    const double columnWidth = (100 - 2 * Margin) * unit / LegendColumns;
    const int perColumn = int((entries.size() + LegendColumns - 1) / LegendColumns);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int column = int(i) / perColumn;
        const int row = int(i) % perColumn;
        const double left = margin + column * columnWidth;
        const double rowTop = top + row * LegendRowHeight * unit;
        LegendSlot slot;
        slot.entry = entries[i];
        slot.ringRadius = SwatchRadius * unit;
        slot.swatch = QPointF(left + slot.ringRadius + unit * 0.5, rowTop + LegendRowHeight * unit / 2);
        const double textLeft = slot.swatch.x() + slot.ringRadius + 1.5 * unit;
        slot.text = QRectF(textLeft, rowTop, left + columnWidth - 1.5 * unit - textLeft, LegendRowHeight * unit);
        slot.size = LegendTextSize * unit;
        mLegend.push_back(slot);
    }
}

} // namespace Tessar

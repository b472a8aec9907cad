#include "core/plate/wellselection.h"

#include "core/document/state.h"
#include "core/plate/plategeometry.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Tessar {

namespace {

bool isWell(const State &state, int s)
{
    return s >= 1 && s <= state.wellCount && std::size_t(s) < state.spotX.size() && std::size_t(s) < state.spotY.size();
}

int lastWell(const State &state)
{
    return std::min<int>(state.wellCount, int(std::min(state.spotX.size(), state.spotY.size())) - 1);
}

} // namespace

WellSet wellsInside(const State &state, float x0, float y0, float x1, float y1)
{
    WellSet wells;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return wells;
    const auto [left, right] = std::minmax(x0, x1);
    const auto [bottom, top] = std::minmax(y0, y1);
    for (int s = 1; s <= lastWell(state); ++s) {
        const float x = state.spotX[std::size_t(s)];
        const float y = state.spotY[std::size_t(s)];
        if (x >= left && x <= right && y >= bottom && y <= top)
            wells.push_back(s);
    }
    return wells;
}

WellSet wellsInBand(const State &state, float x0, float y0, float x1, float y1)
{
    const auto snap = [&state](float &x, float &y) {
        const int s = spotat(state, x, y);
        if (isWell(state, s)) {
            x = state.spotX[std::size_t(s)];
            y = state.spotY[std::size_t(s)];
        }
    };
    snap(x0, y0);
    snap(x1, y1);
    return wellsInside(state, x0, y0, x1, y1);
}

WellSet wellsOfRow(const State &state, int row)
{
    WellSet wells;
    if (row < 1 || row > state.nRows)
        return wells;
    for (int c = 1; c <= state.nCols; ++c) {
        const int s = (row - 1) * state.nCols + c;
        if (isWell(state, s))
            wells.push_back(s);
    }
    return wells;
}

WellSet wellsOfColumn(const State &state, int column)
{
    WellSet wells;
    if (column < 1 || column > state.nCols)
        return wells;
    for (int r = 1; r <= state.nRows; ++r) {
        const int s = (r - 1) * state.nCols + column;
        if (isWell(state, s))
            wells.push_back(s);
    }
    return wells;
}

WellSet allWells(const State &state)
{
    WellSet wells;
    for (int s = 1; s <= lastWell(state); ++s)
        wells.push_back(s);
    return wells;
}

WellSet toggled(WellSet wells, int s)
{
    const auto at = std::lower_bound(wells.begin(), wells.end(), s);
    if (at != wells.end() && *at == s)
        wells.erase(at);
    else
        wells.insert(at, s);
    return wells;
}

WellSet joined(const WellSet &a, const WellSet &b)
{
    WellSet wells;
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(wells));
    return wells;
}

bool contains(const WellSet &wells, int s)
{
    return std::binary_search(wells.begin(), wells.end(), s);
}

// The letters sit in the margin above the last column, the numbers in the
// one left of row A; all of either margin counts, so a small plate's
// labels are easy to hit.
PlateHeader headerAt(const State &state, float x, float y)
{
    const PlateFormat *format = plateFormat(state.wellCount);
    if (!format || !std::isfinite(x) || !std::isfinite(y))
        return {};
    const float half = format->pitch / 2;
    const float left = format->x0 - half;
    const float bottom = format->y0 - half;
    const float right = left + format->rows * format->pitch;
    const float top = bottom + format->cols * format->pitch;
    PlateHeader header;
    if (y > top && y <= PlateHeight && x >= left && x < right)
        header.row = std::clamp(int((x - left) / format->pitch) + 1, 1, format->rows);
    else if (x < left && x >= 0 && y >= bottom && y < top)
        header.column = std::clamp(int((y - bottom) / format->pitch) + 1, 1, format->cols);
    return header;
}

QString selectionStatus(int count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" well selected") : QStringLiteral(" wells selected"));
}

} // namespace Tessar

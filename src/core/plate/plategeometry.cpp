#include "core/plate/plategeometry.h"

#include "core/document/state.h"

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

// The single-precision literals are the figures the plate layout has always
// used; 19.05 and 14.1 are their nearest floats.
constexpr PlateFormat formats[] = {
    //  wells rows cols pitch   radius x0     y0      table      spots
    {   24,   4,   6,   19.05f, 5.0f,  14.1f, 16.25f, 100, 100, 100 },
    {   48,   6,   8,   13.5f,  3.0f,  8.75f, 9.5f,   100, 100, 100 },
    {   96,   8,   12,  9.0f,   3.0f,  9.0f,  12.0f,  106, 20,  106 },
    {  384,  16,   24,  4.5f,   1.5f,  9.0f,  12.0f,  399, 20,  394 },
    { 1536,  32,   48,  2.25f,  0.75f, 9.0f,  12.0f, 1551, 20, 1546 },
};

} // namespace

const PlateFormat *plateFormat(int wells)
{
    for (const PlateFormat &format : formats) {
        if (format.wells == wells)
            return &format;
    }
    return nullptr;
}

bool isPlateFormat(int wells)
{
    return plateFormat(wells) != nullptr;
}

bool spotcoords(State &state, int format)
{
    const PlateFormat *plate = plateFormat(format);
    if (!plate)
        return false;

    state.spotX.assign(std::size_t(plate->lastSpot) + 1, 0.0f);
    state.spotY.assign(std::size_t(plate->lastSpot) + 1, 0.0f);
    state.sampleTable.redim(plate->lastSample, plate->lastField);
    state.nRows = plate->rows;
    state.nCols = plate->cols;
    state.spotRad = plate->radius;

    int k = 0;
    for (int r = 1; r <= plate->rows; ++r) {
        for (int c = 1; c <= plate->cols; ++c) {
            ++k;
            state.spotX[std::size_t(k)] = float((r - 1) * double(plate->pitch) + double(plate->x0));
            state.spotY[std::size_t(k)] = float((c - 1) * double(plate->pitch) + double(plate->y0));
        }
    }
    return true;
}

QString WellName::toString() const
{
    return QString(letter) + QLatin1Char(' ') + QString::number(number);
}

WellName spotname(const State &state, int s)
{
    if (state.nCols <= 0)
        return {QLatin1Char('?'), 0};
    const int g = int(std::floor(double(s - 1) / state.nCols)) + 1;
    return {QChar(char16_t(g + 64)), s - (g - 1) * state.nCols};
}

int spotat(const State &state, float x, float y)
{
    const float r = state.spotRad * state.spotRad;
    const int last = std::min<int>(state.wellCount, int(state.spotX.size()) - 1);
    int result = 0;
    for (int k = 1; k <= last; ++k) {
        const float dx = std::fabs(x - state.spotX[std::size_t(k)]);
        const float dy = std::fabs(y - state.spotY[std::size_t(k)]);
        const float d = dx * dx + dy * dy;
        if (d < r)
            result = k;
    }
    return result;
}

PlatePlace platePlace(const State &state, int s)
{
    if (s < 1 || s > state.wellCount || state.nCols <= 0 || state.nRows <= 0)
        return {};
    return {(s - 1) / state.nCols + 1, (s - 1) % state.nCols + 1};
}

int wellAt(const State &state, int row, int column)
{
    if (row < 1 || row > state.nRows || column < 1 || column > state.nCols)
        return 0;
    const int s = (row - 1) * state.nCols + column;
    return s <= state.wellCount ? s : 0;
}

int neighbourWell(const State &state, int s, ScreenDirection direction)
{
    const PlatePlace place = platePlace(state, s);
    if (place.row == 0)
        return 0;
    int row = place.row;
    int col = place.column;
    switch (direction) {
    case ScreenDirection::Left:  row = std::max(row - 1, 1); break;
    case ScreenDirection::Right: row = std::min(row + 1, state.nRows); break;
    case ScreenDirection::Up:    col = std::min(col + 1, state.nCols); break;
    case ScreenDirection::Down:  col = std::max(col - 1, 1); break;
    }
    const int next = wellAt(state, row, col);
    return next > 0 ? next : s;
}

} // namespace Tessar

#pragma once

#include <QString>

#include <vector>

namespace Tessar {

struct State;

// The wells picked on the map, as gestures there pick them. Every list is
// of sample numbers of the current plate, ascending and without repeats.
using WellSet = std::vector<int>;

// The wells whose centres lie inside the rectangle with corners (x0, y0)
// and (x1, y1), in plate units, either corner first; the edges count as inside.
WellSet wellsInside(const State &state, float x0, float y0, float x1, float y1);

// A band dragged on the map: a corner on a well stands for its centre, so
// a drag from well to well takes both.
WellSet wellsInBand(const State &state, float x0, float y0, float x1, float y1);

// A plate row (its letter, 1 for A) or column (its number) entire; empty
// for one the plate does not have.
WellSet wellsOfRow(const State &state, int row);
WellSet wellsOfColumn(const State &state, int column);
WellSet allWells(const State &state);

// Ctrl+click: s leaves the set when in it, else joins it.
WellSet toggled(WellSet wells, int s);
// Ctrl with a header or a rectangle: both sets together.
WellSet joined(const WellSet &a, const WellSet &b);
bool contains(const WellSet &wells, int s);

// Where a point beside the wells falls: on a row's letter above the
// top-most wells, or a column's number left of the left-most ones.
struct PlateHeader
{
    int row = 0;      // 1 for A; 0 when not on a row letter
    int column = 0;   // 0 when not on a column number
};
PlateHeader headerAt(const State &state, float x, float y);

// The status line while wells are selected: "24 wells selected".
QString selectionStatus(int count);

} // namespace Tessar

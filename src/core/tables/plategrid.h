// Plate-shaped tables: the layout as it looks on the plate, one grid per row
// of the samples.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace Tessar {

struct TextTable;

// A grid names rows A to Z, then AA to AF for rows 27 to 32 of the largest
// plate, and columns up to 48.
inline constexpr int GridMaxRows = 32;
inline constexpr int GridMaxColumns = 48;

// One line of a block: the plate row its first cell names and the cells
// after it, cells[0] being column 1. A short line simply has fewer cells.
struct GridRow
{
    int row = 0;
    int line = 0;
    QStringList cells;
};

// One block of a grid: the caption in its corner cell, the column numbers
// 1, 2, 3, ... across its first line, and a line per plate row beneath.
struct GridBlock
{
    QString caption;            // the corner cell as written; may be empty
    int firstLine = 0;          // the line of the column numbers
    int lastLine = 0;           // the line of its last row (firstLine without rows)
    int columns = 0;            // how many columns it numbers (at most GridMaxColumns)
    std::vector<GridRow> rows;  // as written, each plate row once
};

// The plate row a grid line's first cell names: 1 for "A" or "a", 26 for
// "Z", 27 to 32 for "AA" to "AF" or the program's own '[' to '`'; "AG" to
// "AZ" give 33 to 52, rows no plate has. -1 when the cell is no row letter.
int gridRowOf(QStringView cell);

// Turns a table read as header and records into the blocks of a plate grid
// when it is one: when the header's cells after the first are column
// numbers and the first line with anything on it below starts with a row
// letter. The header becomes "Well" and the blocks' captions, one per block,
// the records move into `blocks`, and everything in the way of reading the
// grid is added to `issues`. Any other table is left as it is; false then.
bool readPlateGrid(TextTable &table);

} // namespace Tessar

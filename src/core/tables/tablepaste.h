#pragma once

#include "core/plate/wellselection.h"
#include "core/tables/delimited.h"
#include "core/tables/tableimport.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace Tessar {

struct State;

// Edit > Paste Table: a block of cells copied from a spreadsheet lands on
// the current item and spreads from there. Each line of the block goes to
// the next sample, each cell of a line to the next row of that sample. Like
// import it is planned first, changing nothing, then applied.
//
//  - The block is tab-separated text as spreadsheets copy it: lines end in
//    LF or CR LF, a last line end adds no line, and a cell in double quotes
//    may hold tabs and line breaks.
//  - Cells past a sample's last row are cut, and lines past the plate's last
//    well; the plan counts both.
//  - A cell that lands on the key row must name a key (case and blanks
//    aside); an empty one takes the key away; any other text leaves the key
//    as it was and is reported, just as Insert > Operator offers only keys.
//  - An empty cell empties its field; texts are stored as Save writes them.
//
// With wells picked on the map the block lands on the plate instead, laid
// out as a spreadsheet draws a plate (rows A, B, ... downwards, columns
// 1, 2, ... across): its top-left cell on the top-left corner of the
// smallest rectangle of wells that holds the pick, every cell in the
// current row. Only picked wells take a cell, so a block copied from a
// scattered pick cannot wipe the wells between; the cells that miss the
// pick or the plate are counted.

struct PasteCell
{
    int sample = 0;
    int field = 0;
    QString text;
};

struct PastePlan
{
    int firstSample = 0;    // the current sample
    int firstField = 0;     // the current row
    int lines = 0;          // lines in the block
    int cutLines = 0;       // lines past the plate's last well
    int cutColumns = 0;     // columns past the last row, counted on the widest line
    int refusedCells = 0;   // key cells that name no key, left as they were
    int outsideCells = 0;   // cells that fall beside the picked wells or off the plate
    std::vector<PasteCell> cells;

    std::vector<TableIssue> issues;     // lines are the block's own, from 1
    int issueCount = 0;
    bool usable = false;                // false: nothing can be pasted (issues say why)
    quint64 fingerprint = 0;

    // The samples the plan writes, in increasing order.
    std::vector<int> sampleNumbers() const;
};

PastePlan planPaste(const State &state, QStringView block, const WellSet &picked = {});

// Edit > Copy with wells picked: their texts in the current row, laid out
// as Paste Table with a pick lays a block down, over the smallest rectangle
// that holds them; a well in it that is not picked gives an empty cell.
// Tab-separated with CR LF line ends, the way spreadsheets take a paste.
QString pickedBlock(const State &state, const WellSet &picked);

// Writes the planned cells, when the document and the current item are
// exactly those the plan was made for; otherwise changes nothing.
ApplyStatus applyPaste(State &state, const PastePlan &plan);

} // namespace Tessar

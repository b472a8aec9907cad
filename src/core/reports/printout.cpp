#include "core/reports/printout.h"

#include "core/editing/editing.h"
#include "core/document/state.h"

#include <algorithm>

namespace Tessar {

namespace {

const QString Blank = QStringLiteral(" ");

// The samples of plate row r (from 0), as far as the plate and the table reach.
struct PlateRow
{
    int firstSample = 0;  // sample in column 1
    int columns = 0;      // columns present
};

PlateRow plateRow(const State &state, int r, int last)
{
    const long long start = static_cast<long long>(state.nCols) * r;
    PlateRow row;
    row.firstSample = int(std::min<long long>(start + 1, last + 1LL));
    row.columns = int(std::clamp<long long>(last - start, 0, state.nCols));
    return row;
}

bool rowHoldsInformation(const State &state, const PlateRow &row)
{
    for (int c = 0; c < row.columns; ++c) {
        if (SampleHasData(state, row.firstSample + c))
            return true;
    }
    return false;
}

PrintPage rowPage(const State &state, int r, const PlateRow &row)
{
    const int rows = usedRows(state);
    const QChar letter(char16_t(65 + r));
    PrintPage page;
    page.push_back({QStringLiteral("FileName: ") + state.fileTitle, true});
    page.push_back({Blank, false});
    // Every column position gets its blank line, so a sample sits at the
    // same height on every page.
    for (int c = 1; c <= state.nCols; ++c) {
        const int s = row.firstSample + c - 1;
        if (c <= row.columns && SampleHasData(state, s)) {
            page.push_back({QStringLiteral("Column ") + letter + QStringLiteral("  Sample No. ")
                                + QString::number(c) + Blank,
                            true});
            for (int f = 0; f < rows; ++f)
                page.push_back({state.fieldName[std::size_t(f)] + state.sampleTable(s, f), false});
        }
        page.push_back({Blank, false});
    }
    return page;
}

} // namespace

std::vector<PrintPage> printoutPages(const State &state)
{
    std::vector<PrintPage> pages;
    const int last = std::min(state.wellCount, state.sampleTable.lastSample());
    if (state.nCols <= 0 || last < 1)
        return pages;
    for (int r = 0; r < state.nRows; ++r) {
        const PlateRow row = plateRow(state, r, last);
        if (row.columns == 0)
            break;
        if (rowHoldsInformation(state, row))
            pages.push_back(rowPage(state, r, row));
    }
    return pages;
}

} // namespace Tessar

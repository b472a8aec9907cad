#include "core/tables/plategrid.h"

#include "core/tables/tablereader.h"
#include "core/plate/wellname.h"

#include <algorithm>
#include <array>

namespace Tessar {

namespace {

// A column number as spreadsheets and plate tools write it: "7", "07".
int columnNumberOf(QStringView cell)
{
    cell = cell.trimmed();
    if (cell.isEmpty() || cell.size() > 6)
        return -1;
    int number = 0;
    for (const QChar c : cell) {
        if (c < u'0' || c > u'9')
            return -1;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

enum class HeaderKind {
    None,       // not a line of column numbers
    Numbered,   // 1, 2, 3, ... in order
    Misnumbered // numbers, but not 1, 2, 3, ...
};

// Whether a line is the first line of a block; `count` is then the number
// of columns it numbers. Empty cells after the numbers are the padding a
// spreadsheet gives a line shorter than the widest one.
HeaderKind headerKind(const TextRecord &record, qsizetype *count)
{
    qsizetype end = record.cells.size();
    while (end > 1 && QStringView(record.cells[end - 1]).trimmed().isEmpty())
        --end;
    if (end < 2)
        return HeaderKind::None;
    bool inOrder = true;
    for (qsizetype i = 1; i < end; ++i) {
        const int number = columnNumberOf(record.cells[i]);
        if (number < 0)
            return HeaderKind::None;
        inOrder = inOrder && number == i;
    }
    *count = end - 1;
    return inOrder ? HeaderKind::Numbered : HeaderKind::Misnumbered;
}

QString cellCount(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 cell") : QStringLiteral("%1 cells").arg(n);
}

QString shownCell(QStringView text)
{
    text = text.trimmed();
    return text.size() > 40 ? text.first(37).toString() + QStringLiteral("...") : text.toString();
}

class GridReader
{
public:
    explicit GridReader(TextTable &table) : mTable(table) {}

    void run()
    {
        read({mTable.headerLine, mTable.header, 0});
        for (const TextRecord &record : mTable.rows)
            read(record);
        close();
        if (mIssues > ListedIssues)
            mTable.issues.push_back({0, QStringLiteral("%1 more problems with the grid's lines not listed")
                                            .arg(mIssues - ListedIssues)});

        mTable.header = QStringList{QStringLiteral("Well")};
        for (const GridBlock &block : mBlocks)
            mTable.header.append(block.caption);
        mTable.rows.clear();
        mTable.blocks = std::move(mBlocks);
    }

private:
    void read(const TextRecord &record)
    {
        if (record.isBlank()) {
            close();
            mSkipping = false;
            return;
        }
        const int row = gridRowOf(record.cells.value(0));
        if (mOpen && row > 0) {
            addRow(record, row);
            return;
        }
        qsizetype count = 0;
        const HeaderKind kind = headerKind(record, &count);
        if (kind == HeaderKind::Numbered) {
            close();
            mSkipping = false;
            if (mBlocks.size() < std::size_t(MaxCellsPerLine)) {
                open(record, count);
            } else {
                // As many blocks as a table can have columns.
                mSkipping = true;
                issue(record.line,
                      QStringLiteral("the grid has more than %1 blocks; this one is not read").arg(MaxCellsPerLine));
            }
            return;
        }
        if (mSkipping)
            return;
        const bool noFirst = QStringView(record.cells.value(0)).trimmed().isEmpty();
        if (mOpen) {
            // A line of totals or notes under a block, say.
            issue(record.line, noFirst ? QStringLiteral("the line has no row letter; it is not read")
                                       : QStringLiteral("\"%1\" is no row letter; the line is not read").arg(shownCell(record.cells[0])));
        } else if (row > 0) {
            issue(record.line, QStringLiteral("row %1 stands under no line of column numbers; the line is not read")
                                   .arg(shownCell(record.cells[0])));
        } else if (kind == HeaderKind::Misnumbered) {
            mSkipping = true;
            issue(record.line, QStringLiteral("the column numbers on this line do not run 1, 2, 3, ...; "
                                              "the block it starts is not read"));
        } else {
            issue(record.line, QStringLiteral("the line is neither the first line of a block (its caption and the column "
                                              "numbers 1, 2, 3, ...) nor a row of one; it is not read"));
        }
    }

    void open(const TextRecord &record, qsizetype count)
    {
        GridBlock block;
        block.caption = record.cells[0];
        block.firstLine = record.line;
        block.lastLine = record.line;
        block.columns = int(std::min<qsizetype>(count, GridMaxColumns));
        if (count > GridMaxColumns)
            issue(record.line, QStringLiteral("block %1 numbers %2 columns and the largest plate has %3; "
                                              "the columns past %3 are not read")
                                   .arg(mBlocks.size() + 1).arg(count).arg(GridMaxColumns));
        mBlocks.push_back(std::move(block));
        mDeclared = count;
        mLineOfRow.fill(0);
        mOpen = true;
    }

    void close()
    {
        if (!mOpen)
            return;
        mOpen = false;
        const GridBlock &block = mBlocks.back();
        if (block.rows.empty())
            issue(block.firstLine, QStringLiteral("block %1 has no rows under its column numbers").arg(mBlocks.size()));
    }

    void addRow(const TextRecord &record, int row)
    {
        GridBlock &block = mBlocks.back();
        const int number = int(mBlocks.size());
        block.lastLine = record.line;
        if (row > GridMaxRows) {
            issue(record.line, QStringLiteral("row %1 is on no plate (the largest ends at row %2); the line is not read")
                                   .arg(shownCell(record.cells[0]).toUpper(), standardRowName(GridMaxRows)));
            return;
        }

        // The cells as far as the last one that holds anything; blanks past
        // the block's columns are padding, not cells.
        qsizetype end = record.cells.size();
        while (end > block.columns + 1 && QStringView(record.cells[end - 1]).trimmed().isEmpty())
            --end;
        const qsizetype given = end - 1;
        if (given > mDeclared)
            issue(record.line, QStringLiteral("%1 where block %2 has %3 columns; the extra ones are not imported")
                                   .arg(cellCount(given)).arg(number).arg(mDeclared));
        else if (given < block.columns)
            issue(record.line, QStringLiteral("%1 where block %2 has %3 columns; the missing ones change nothing")
                                   .arg(cellCount(given)).arg(number).arg(block.columns));

        GridRow line{row, record.line, record.cells.mid(1, std::min<qsizetype>(given, block.columns))};
        int &earlier = mLineOfRow[std::size_t(row)];
        if (earlier > 0) {
            issue(record.line, QStringLiteral("row %1 of block %2 was already given on line %3; this line replaces it")
                                   .arg(standardRowName(row)).arg(number).arg(earlier));
            for (GridRow &old : block.rows) {
                if (old.row == row)
                    old = std::move(line);
            }
        } else {
            block.rows.push_back(std::move(line));
        }
        earlier = record.line;
    }

    // A file of nothing but stray lines would otherwise hold a message for
    // each; past the first thousand they are only counted.
    void issue(int line, const QString &reason)
    {
        if (++mIssues <= ListedIssues)
            mTable.issues.push_back({line, reason});
    }

    static constexpr int ListedIssues = 1000;

    TextTable &mTable;
    std::vector<GridBlock> mBlocks;
    bool mOpen = false;         // the last block takes rows
    bool mSkipping = false;     // in a block that cannot be read, up to the next blank line
    qsizetype mDeclared = 0;    // the columns the open block numbers, past the largest plate too
    std::array<int, GridMaxRows + 1> mLineOfRow{};  // per row of the open block: its line, 0 for none yet
    int mIssues = 0;
};

} // namespace

int gridRowOf(QStringView cell)
{
    cell = cell.trimmed();
    auto upper = [](QChar c) { return c >= u'a' && c <= u'z' ? char16_t(c.unicode() - u'a' + u'A') : c.unicode(); };
    if (cell.size() == 1) {
        const char16_t letter = upper(cell[0]);
        return letter >= u'A' && letter <= u'`' ? letter - u'A' + 1 : -1;
    }
    if (cell.size() == 2 && upper(cell[0]) == u'A') {
        const char16_t second = upper(cell[1]);
        return second >= u'A' && second <= u'Z' ? 26 + second - u'A' + 1 : -1;
    }
    return -1;
}

bool readPlateGrid(TextTable &table)
{
    if (table.format == TableFormat::CopyAll || table.headerLine == 0)
        return false;
    qsizetype count = 0;
    if (headerKind({table.headerLine, table.header, 0}, &count) == HeaderKind::None)
        return false;
    // Numbers across the top alone could be any table's captions: the row
    // letters down the side make it a grid.
    const auto first = std::find_if(table.rows.begin(), table.rows.end(),
                                     [](const TextRecord &record) { return !record.isBlank(); });
    if (first == table.rows.end() || gridRowOf(first->cells.value(0)) < 1)
        return false;
    GridReader(table).run();
    return true;
}

} // namespace Tessar

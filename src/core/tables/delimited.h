#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace Tessar {

// A problem found in a table, with the line it is on (1 = the first line of
// the text; 0 when it concerns the table as a whole).
struct TableIssue
{
    int line = 0;
    QString reason;
};

// One record of a delimited text: its cells and the line it starts on.
struct TextRecord
{
    int line = 0;
    QStringList cells;
    qsizetype droppedCells = 0;     // cells past MaxCellsPerLine, not kept

    // A line with nothing on it, or only separators.
    bool isBlank() const;
};

// Splits delimiter-separated text into records. Records end at CR LF, LF or
// a lone CR; a line end after the last record adds no empty record.
//
// With `quoting`, a cell that starts with a double quote and whose closing
// quote is followed by the separator or a line end is a quoted cell, as
// spreadsheets write them: it may hold separators and line breaks, and a
// doubled quote stands for one. Any other quote is plain text, so a stray
// quote never swallows the rest of the table.
//
// No sample list comes near the limits below; they keep a hostile text (a
// file of nothing but commas or line ends) from taking the memory of the
// machine. Cells past MaxCellsPerLine on a line are counted, not kept; after
// MaxCellsInText cells the split stops and *stoppedAtLine names the line it
// stopped on (it stays 0 when the whole text was split).
inline constexpr qsizetype MaxCellsPerLine = 4096;
inline constexpr qsizetype MaxCellsInText = qsizetype(1) << 20;

std::vector<TextRecord> splitRecords(QStringView text, QChar separator, bool quoting, int *stoppedAtLine = nullptr);

// Appends a cell, quoted when it holds the separator, a double quote or a
// line break, with its quotes doubled.
void appendCell(QString &out, QStringView cell, QChar separator);

} // namespace Tessar

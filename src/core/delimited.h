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
std::vector<TextRecord> splitRecords(QStringView text, QChar separator, bool quoting);

// Appends a cell, quoted when it holds the separator, a double quote or a
// line break, with its quotes doubled.
void appendCell(QString &out, QStringView cell, QChar separator);

} // namespace Tessar

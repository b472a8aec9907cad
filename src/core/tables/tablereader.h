#pragma once

#include "core/tables/delimited.h"
#include "core/tables/plategrid.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

namespace Tessar {

// The kinds of table the program reads.
enum class TableFormat {
    Csv,        // comma (or semicolon) separated, RFC 4180 quoting
    Tsv,        // tab separated, as spreadsheets copy and save it
    CopyAll,    // the text of Edit > Copy All: a "Filename:" line, then tab-separated lines each ending in a tab
    Workbook,   // a sheet of an .xlsx workbook
};

// What the name of a table's file says about it: .csv, .tsv and .xlsx decide
// the format; anything else, the clipboard and standard input are told by
// their content (a workbook by its first bytes).
enum class TableSource { CsvFile, TsvFile, WorkbookFile, Content };

TableSource tableSourceForPath(const QString &path);

// A table split into its header and records.
struct TextTable
{
    TableFormat format = TableFormat::Tsv;
    QChar separator = u'\t';
    QString encoding;               // "UTF-8", "UTF-16" or "Windows-1252"
    QString copyAllTitle;           // the file name a Copy All text names
    QString sheet;                  // the name of the workbook sheet read
    int headerLine = 0;             // 0 when the text holds no header
    QStringList header;
    std::vector<TextRecord> rows;   // every record after the header, blank ones too
    std::vector<TableIssue> issues; // blank lines before the header, cells and lines not read

    // A plate grid (see readPlateGrid()) has its cells here instead of in
    // `rows`, and a header of "Well" and one caption per block.
    std::vector<GridBlock> blocks;
};

// Text of a table file: UTF-8 (with or without a byte-order mark), UTF-16
// with its mark, or, when the bytes are no valid UTF-8, Windows-1252 as
// older spreadsheets save it.
QString decodeTableBytes(QByteArrayView bytes, QString *encoding = nullptr);

TextTable readTable(QStringView text, TableSource source);
// The bytes of a table file; a workbook is read from its sheet named `sheet`,
// or its first sheet when that is empty.
TextTable readTable(QByteArrayView bytes, TableSource source, const QString &sheet = {});

// Fills the header and rows of `table` from its records: the first record
// that is not blank is the header, blank ones before it are reported.
void takeRecords(TextTable &table, std::vector<TextRecord> &&records);

// Reads a table file, or standard input for "-". Larger than any sample
// list can be (64 MiB) is refused. False with `error` set on failure.
bool readTableFile(const QString &path, QByteArray &bytes, QString &error);

inline constexpr qint64 MaxTableBytes = qint64(64) * 1024 * 1024;

} // namespace Tessar

#pragma once

#include "core/tables/tablereader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

namespace Tessar {

// Spreadsheet workbooks (.xlsx) in and out. The format is a zip archive of
// XML parts; a well-kept library writes it, so every part is as
// spreadsheets expect, and a zip library opens it for reading, so damaged
// and hostile archives meet code made for them.

// `rows` as a workbook of one sheet named `sheetName`: the first row is the
// header, bold and frozen so it stays in view; each column is as wide as
// its longest text, within reason. Every cell is a text cell, so no
// spreadsheet takes a value for a number, a date or a formula. Empty, with
// `error` set, when the workbook could not be made.
QByteArray workbookBytes(const std::vector<QStringList> &rows, const QString &sheetName, QString *error);

// One sheet of a workbook as the table readTable() makes of a CSV: the
// first sheet, or the one named `sheet` (its exact name first, else the one
// whose name matches case aside). Each cell comes as the text it holds: text
// as written, a number as the workbook stores it (what was typed, where
// it was typed as text: 007 stays 007), TRUE or FALSE, an error as its
// code, a formula as its last result. Empty rows are no records; the first
// row that holds anything is the header, and every row after it has at
// least as many cells as the header, as the sheet shows it. A record's line
// is its row number.
//
// What cannot be read (no zip archive, no workbook in it, no such sheet, a
// sheet that is no table of cells, an archive that unpacks to more than
// MaxTableBytes) is an issue on line 0 and leaves the table empty.
TextTable readWorkbook(QByteArrayView bytes, const QString &sheet = {});

// Both of these load the workbook module on first use. A program that
// links the module's code instead (the command-line tool, which has no
// start to keep short) names it here.
struct WorkbookCodec;
void useLinkedWorkbookCodec(const WorkbookCodec *linked);

} // namespace Tessar

#pragma once

#include "core/files/samplefile.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace Tessar {

struct State;

enum class ExportFormat { Csv, Tsv, Json, Xlsx };

// The document as a table, one line per sample that holds data (every well
// of the plate with allWells), in sample order. Columns: "Well" (A1, B12;
// rows 27 to 32 of the largest plate as AA to AF, as other plate tools name
// them, or in the program's own letters with ownRowLetters),
// "Sample No.", "Key", then the caption of every description row.
//
// CSV follows RFC 4180: commas, CR LF line ends, a cell in double quotes
// when it holds a comma, a quote or a line break, its quotes doubled. TSV is
// the same with tabs, quoted the way spreadsheets copy. Both are UTF-8
// without a byte-order mark, so programs that read UTF-8 see "Well", not a
// mark, as the first column's name.
QString documentTable(const State &state, QChar separator, bool allWells = false, bool ownRowLetters = false);

// The cells of that table: the header, then one row per sample.
std::vector<QStringList> documentRows(const State &state, bool allWells = false, bool ownRowLetters = false);

// That table as an .xlsx workbook of one sheet, "Samples", every cell a text
// cell, so a spreadsheet shows each value as it is and never runs or
// converts one. Empty, with `error` set, when the workbook could not be made.
QByteArray documentWorkbook(const State &state, bool allWells, QString *error, bool ownRowLetters = false);

// The document as `tessar-kwl dump` prints it: the configuration and each
// sample with data as {s, well, fields}. `header` is the first line of the
// file it came from. With allWells every well of the plate is listed, empty
// ones too.
QJsonObject documentJson(const State &state, const QString &header, bool allWells = false);

// The bytes of an export in one of the formats above (for a workbook empty
// when it could not be made; documentWorkbook() says why).
QByteArray exportDocument(const State &state, ExportFormat format, bool allWells = false,
                          const QString &header = QLatin1String(FileHeader), bool ownRowLetters = false);

} // namespace Tessar

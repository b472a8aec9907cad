#pragma once

#include "core/tables/tablereader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

namespace Tessar {

// What the workbook module does, behind workbookBytes() and readWorkbook().
// The zip and spreadsheet libraries it needs, and the cryptography the zip
// library pulls in, would be loaded by every start of the program if it
// were linked in; as a module they load with the first workbook.
struct WorkbookCodec
{
    QByteArray (*write)(const std::vector<QStringList> &rows, const QString &sheetName, QString *error);
    // The sheet's records, every one in `rows`: the header is not yet taken out.
    TextTable (*read)(QByteArrayView bytes, const QString &sheet);
};

inline constexpr char WorkbookCodecEntryName[] = "tessarWorkbookCodec";
inline constexpr char WorkbookModuleName[] = "tessar-workbook.so";

} // namespace Tessar

extern "C" const Tessar::WorkbookCodec *tessarWorkbookCodec();

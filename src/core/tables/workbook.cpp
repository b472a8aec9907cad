#include "core/tables/workbook.h"

#include "core/document/modules.h"
#include "core/tables/plategrid.h"
#include "core/tables/workbookcodec.h"

#include <algorithm>

namespace Tessar {

namespace {

const WorkbookCodec *linkedCodec = nullptr;

const WorkbookCodec *codec()
{
    if (linkedCodec)
        return linkedCodec;
    static const WorkbookCodec *const loaded =
        moduleObject<const WorkbookCodec>(WorkbookModuleName, WorkbookCodecEntryName);
    return loaded;
}

QString missingModule()
{
    return QStringLiteral("workbooks cannot be read or written: the module %1 was not found").arg(QLatin1String(WorkbookModuleName));
}

} // namespace

void useLinkedWorkbookCodec(const WorkbookCodec *linked)
{
    linkedCodec = linked;
}

QByteArray workbookBytes(const std::vector<QStringList> &rows, const QString &sheetName, QString *error)
{
    if (const WorkbookCodec *workbooks = codec())
        return workbooks->write(rows, sheetName, error);
    if (error)
        *error = missingModule();
    return {};
}

TextTable readWorkbook(QByteArrayView bytes, const QString &sheet)
{
    const WorkbookCodec *workbooks = codec();
    if (!workbooks) {
        TextTable table;
        table.format = TableFormat::Workbook;
        table.issues.push_back({0, missingModule()});
        return table;
    }
    TextTable table = workbooks->read(bytes, sheet);
    std::vector<TextRecord> records = std::move(table.rows);
    table.rows.clear();
    takeRecords(table, std::move(records));
    // A spreadsheet has no short rows: a cell left empty at the end of a
    // row is as empty as one in its middle. Within the same bound on cells.
    qsizetype total = table.header.size();
    for (auto row = table.rows.begin(); row != table.rows.end(); ++row) {
        total += std::max(row->cells.size(), table.header.size());
        if (total > MaxCellsInText) {
            table.issues.push_back({row->line, QStringLiteral("the table holds more than %1 cells; it is not read from here on")
                                                   .arg(MaxCellsInText)});
            table.rows.erase(row, table.rows.end());
            break;
        }
        while (row->cells.size() < table.header.size())
            row->cells.append(QString());
    }
    readPlateGrid(table);
    return table;
}

} // namespace Tessar

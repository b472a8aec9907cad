#include "core/tables/workbookcodec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QXmlStreamReader>

#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace Tessar {

namespace {

// ---- Writing ----------------------------------------------------------------

// Column widths in characters: room for the longest text, but a column of
// long notes must not push the others off the screen.
constexpr int NarrowestColumn = 8;
constexpr int WidestColumn = 60;

// A text that happens to look like the format's escape of a character
// (_x0041_ for A) has its underscore escaped, as spreadsheets save it, so it
// is read back as written.
QByteArray cellText(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text.toUtf8();
    static const QRegularExpression escapeLike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    return QString(text).replace(escapeLike, QStringLiteral("_x005F_")).toUtf8();
}

QString writeError(lxw_error error)
{
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        return QStringLiteral("a cell holds more than 32,767 characters, more than a workbook cell can hold");
    return QString::fromUtf8(lxw_strerror(error));
}

// ---- Reading ----------------------------------------------------------------

// The largest sheet a spreadsheet makes: rows 1 to 1048576, columns A to XFD.
constexpr qint64 SheetRows = 1048576;
constexpr int SheetColumns = 16384;

// A zip archive held in memory, whose parts are unpacked within one budget:
// a small archive that unpacks to gigabytes is refused, not unpacked.
class Archive
{
public:
    explicit Archive(QByteArrayView bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source = zip_source_buffer_create(bytes.data(), zip_uint64_t(bytes.size()), 0, &error);
        if (source) {
            mZip = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!mZip)
                zip_source_free(source);
        }
        if (!mZip)
            mError = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
    }
    ~Archive()
    {
        if (mZip)
            zip_discard(mZip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    bool isOpen() const { return mZip != nullptr; }
    QString openError() const { return mError.isEmpty() ? mError : mError.first(1).toLower() + mError.sliced(1); }

    bool has(const QString &name) const { return mZip && zip_name_locate(mZip, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0; }

    // The part's bytes; nothing, with `problem` set, when it is missing,
    // cannot be unpacked or would overrun the budget.
    std::optional<QByteArray> part(const QString &name, QString *problem)
    {
        const zip_int64_t index = zip_name_locate(mZip, name.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index < 0) {
            *problem = QStringLiteral("the workbook lacks its part %1").arg(name);
            return std::nullopt;
        }
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(mZip, zip_uint64_t(index), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)
            && stat.size > zip_uint64_t(mBudget))
            return overBudget(problem);
        zip_file_t *file = zip_fopen_index(mZip, zip_uint64_t(index), 0);
        if (!file) {
            *problem = QStringLiteral("%1 cannot be unpacked: %2").arg(name, QString::fromUtf8(zip_strerror(mZip)));
            return std::nullopt;
        }
        // The sizes an archive states are not believed: what counts is what unpacks.
        QByteArray bytes;
        char buffer[1 << 16];
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
            if (n < 0) {
                *problem = QStringLiteral("%1 cannot be unpacked: %2").arg(name, QString::fromUtf8(zip_file_strerror(file)));
                zip_fclose(file);
                return std::nullopt;
            }
            if (n == 0)
                break;
            if (n > mBudget) {
                zip_fclose(file);
                return overBudget(problem);
            }
            mBudget -= n;
            bytes.append(buffer, qsizetype(n));
        }
        zip_fclose(file);
        return bytes;
    }

private:
    std::optional<QByteArray> overBudget(QString *problem)
    {
        *problem = QStringLiteral("the workbook unpacks to more than %1 MiB, more than any sample list can hold")
                       .arg(MaxTableBytes / (1024 * 1024));
        return std::nullopt;
    }

    zip_t *mZip = nullptr;
    QString mError;
    qint64 mBudget = MaxTableBytes;
};

struct SheetEntry
{
    QString name;
    QString relation;   // the id of its relationship
};

struct Relation
{
    QString type;       // the last part of the relationship type: "worksheet", "sharedStrings"
    QString target;     // the part, as a path in the archive
};

// Where a relationship of xl/workbook.xml points: relative to xl/, or from
// the archive's root when it starts with a slash.
QString partPath(const QString &target)
{
    const QString path = QDir::cleanPath(target.startsWith(u'/') ? target.sliced(1) : QStringLiteral("xl/") + target);
    return path.startsWith(QLatin1String("../")) ? QString() : path;
}

std::vector<SheetEntry> sheetsOf(const QByteArray &workbook, QString *problem)
{
    std::vector<SheetEntry> sheets;
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet")
            continue;
        SheetEntry entry;
        for (const QXmlStreamAttribute &attribute : xml.attributes()) {
            if (attribute.name() == u"name" && attribute.namespaceUri().isEmpty())
                entry.name = attribute.value().toString();
            else if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                entry.relation = attribute.value().toString();
        }
        sheets.push_back(entry);
    }
    if (xml.hasError())
        *problem = QStringLiteral("xl/workbook.xml is damaged (%1)").arg(xml.errorString());
    return sheets;
}

std::vector<std::pair<QString, Relation>> relationsOf(const QByteArray &rels)
{
    std::vector<std::pair<QString, Relation>> relations;
    QXmlStreamReader xml(rels);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.value(QLatin1String("TargetMode")) == u"External")
            continue;
        const QStringView type = attributes.value(QLatin1String("Type"));
        relations.push_back({attributes.value(QLatin1String("Id")).toString(),
                             {type.sliced(type.lastIndexOf(u'/') + 1).toString(),
                              partPath(attributes.value(QLatin1String("Target")).toString())}});
    }
    return relations;
}

// Text in a workbook writes characters XML cannot carry as _xHHHH_ (and a
// literal "_x" that would look like one as _x005F_x).
QString unescaped(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QStringView digits = QStringView(text).sliced(i).mid(2, 4);
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_'
            && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); })) {
            out.append(QChar(digits.toUShort(nullptr, 16)));
            i += 6;
            continue;
        }
        out.append(text[i]);
    }
    return out;
}

// The runs of a string item one after another, without the phonetic guide
// some languages add.
void appendRuns(QXmlStreamReader &xml, QString &text)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t")
            text += xml.readElementText();
        else if (xml.name() == u"r")
            appendRuns(xml, text);
        else
            xml.skipCurrentElement();
    }
}

// The text of a string item (<si> or <is>), the reader on its start.
QString richText(QXmlStreamReader &xml)
{
    QString text;
    appendRuns(xml, text);
    return unescaped(text);
}

QStringList sharedStrings(const QByteArray &part, QString *problem)
{
    QStringList strings;
    QXmlStreamReader xml(part);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.append(richText(xml));
    }
    if (xml.hasError())
        *problem = QStringLiteral("the workbook's shared texts are damaged (%1); cells that use the rest are read empty")
                       .arg(xml.errorString());
    return strings;
}

// "C12" as column 2 (from 0); -1 when it is no reference, SheetColumns when
// it lies beyond the last column a sheet has.
int columnOf(QStringView reference)
{
    int column = 0;
    qsizetype letters = 0;
    while (letters < reference.size() && reference[letters].isLetter() && reference[letters].unicode() < 128) {
        if (letters == 3)
            return SheetColumns;
        column = column * 26 + (reference[letters].toUpper().unicode() - u'A' + 1);
        ++letters;
    }
    if (letters == 0)
        return -1;
    return std::min(column, SheetColumns + 1) - 1;
}

class SheetReader
{
public:
    SheetReader(const QByteArray &sheet, const QStringList &strings, TextTable &table)
        : mXml(sheet), mStrings(strings), mTable(table)
    {}

    std::vector<TextRecord> read()
    {
        bool inData = false;
        while (!mXml.atEnd() && !mStopped) {
            const QXmlStreamReader::TokenType token = mXml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (mXml.name() == u"sheetData")
                    inData = true;
                else if (inData && mXml.name() == u"row")
                    readRow();
            } else if (token == QXmlStreamReader::EndElement && mXml.name() == u"sheetData") {
                inData = false;
            }
        }
        if (mXml.hasError())
            mTable.issues.push_back({std::max(mLastRow, 1), QStringLiteral("the sheet is damaged here (%1); the rows after it are not read")
                                                                .arg(mXml.errorString())});
        return std::move(mRecords);
    }

private:
    void readRow()
    {
        bool numbered = false;
        const qint64 number = mXml.attributes().value(QLatin1String("r")).toLongLong(&numbered);
        const int line = numbered && number > 0 && number <= SheetRows ? int(number) : mLastRow + 1;
        mLastRow = line;
        TextRecord record;
        record.line = line;
        int next = 0;
        while (mXml.readNextStartElement()) {
            if (mXml.name() != u"c") {
                mXml.skipCurrentElement();
                continue;
            }
            // A copy: the reader's attributes go when it reads on.
            const QString reference = mXml.attributes().value(QLatin1String("r")).toString();
            const int column = reference.isEmpty() ? next : columnOf(reference);
            const QString value = cellValue(line, reference);
            if (column < 0 || column >= SheetColumns) {
                mTable.issues.push_back({line, QStringLiteral("the cell \"%1\" is no cell of a sheet and is not read")
                                                   .arg(reference.left(20))});
                continue;
            }
            next = column + 1;
            if (value.isEmpty())
                continue;
            if (column >= MaxCellsPerLine) {
                ++record.droppedCells;
                continue;
            }
            if (!place(record, column, value))
                return;
        }
        if (record.droppedCells > 0)
            mTable.issues.push_back({line, QStringLiteral("%1 cells past column %2 are not read")
                                               .arg(record.droppedCells).arg(MaxCellsPerLine)});
        // A row a spreadsheet keeps for its height or style alone is no line of the table.
        if (!record.cells.isEmpty())
            mRecords.push_back(std::move(record));
    }

    bool place(TextRecord &record, int column, const QString &value)
    {
        const qsizetype grown = std::max(record.cells.size(), qsizetype(column) + 1);
        if (mCells + grown - record.cells.size() > MaxCellsInText) {
            mTable.issues.push_back({record.line, QStringLiteral("the table holds more than %1 cells; it is not read from here on")
                                                      .arg(MaxCellsInText)});
            mStopped = true;
            return false;
        }
        mCells += grown - record.cells.size();
        while (record.cells.size() < grown)
            record.cells.append(QString());
        record.cells[column] = value;
        return true;
    }

    // The text a cell shows, the reader on the cell's start element.
    QString cellValue(int line, QStringView reference)
    {
        const QString type = mXml.attributes().value(QLatin1String("t")).toString();
        QString value;
        bool inline_ = false;
        while (mXml.readNextStartElement()) {
            if (mXml.name() == u"v") {
                value = mXml.readElementText();
            } else if (mXml.name() == u"is") {
                value = richText(mXml);
                inline_ = true;
            } else {
                mXml.skipCurrentElement();   // a formula, whose last result is in <v>
            }
        }
        if (type == u"s") {
            bool ok = false;
            const qsizetype index = value.trimmed().toLongLong(&ok);
            if (ok && index >= 0 && index < mStrings.size())
                return mStrings[index];
            if (!value.isEmpty())
                mTable.issues.push_back({line, QStringLiteral("the cell %1 names a shared text the workbook lacks; it is read empty")
                                                   .arg(reference.left(20))});
            return QString();
        }
        if (type == u"b")
            return value.trimmed() == u"1" ? QStringLiteral("TRUE") : value.trimmed() == u"0" ? QStringLiteral("FALSE") : value;
        if (type == u"inlineStr" || type == u"str")
            return inline_ ? value : unescaped(value);
        return value;   // a number as stored, an error code, a date in ISO form
    }

    QXmlStreamReader mXml;
    const QStringList &mStrings;
    TextTable &mTable;
    std::vector<TextRecord> mRecords;
    int mLastRow = 0;
    qsizetype mCells = 0;
    bool mStopped = false;
};

TextTable unreadable(const QString &reason)
{
    TextTable table;
    table.format = TableFormat::Workbook;
    table.issues.push_back({0, reason});
    return table;
}

const QString ReadItAs = QStringLiteral("; save it from the spreadsheet as .xlsx or CSV and import that");

QByteArray writeWorkbook(const std::vector<QStringList> &rows, const QString &sheetName, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    // The library writes to a file by name; the workbook is made in a file
    // of its own and read back, and the caller saves it as any export.
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/tessar-XXXXXX.xlsx"));
    if (!file.open())
        return fail(file.errorString());
    file.close();
    lxw_workbook *workbook = workbook_new(QFile::encodeName(file.fileName()).constData());
    if (!workbook)
        return fail(QStringLiteral("the workbook could not be started"));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, sheetName.toUtf8().constData());
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);

    lxw_error failed = sheet ? LXW_NO_ERROR : LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
    std::vector<qsizetype> longest;
    for (std::size_t r = 0; r < rows.size() && sheet && failed == LXW_NO_ERROR; ++r) {
        const QStringList &row = rows[r];
        longest.resize(std::max(longest.size(), std::size_t(row.size())), 0);
        for (qsizetype c = 0; c < row.size() && failed == LXW_NO_ERROR; ++c) {
            if (row[c].isEmpty())
                continue;
            // Bold is wider: the header gets a character more.
            longest[std::size_t(c)] = std::max(longest[std::size_t(c)], row[c].size() + (r == 0 ? 1 : 0));
            failed = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cellText(row[c]).constData(),
                                            r == 0 ? bold : nullptr);
        }
    }
    if (sheet && failed == LXW_NO_ERROR) {
        for (std::size_t c = 0; c < longest.size(); ++c) {
            const double width = std::clamp(int(longest[c]) + 2, NarrowestColumn, WidestColumn);
            worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr);
        }
        worksheet_freeze_panes(sheet, 1, 0);
    }
    const lxw_error closed = workbook_close(workbook);
    if (failed != LXW_NO_ERROR)
        return fail(writeError(failed));
    if (closed != LXW_NO_ERROR)
        return fail(writeError(closed));

    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return fail(written.errorString());
    QByteArray bytes = written.readAll();
    if (bytes.isEmpty())
        return fail(QStringLiteral("the workbook came out empty"));
    return bytes;
}

TextTable readSheet(QByteArrayView bytes, const QString &sheet)
{
    Archive archive(bytes);
    if (!archive.isOpen())
        return unreadable(QStringLiteral("the file is no .xlsx workbook: %1").arg(archive.openError()));
    QString problem;
    if (!archive.has(QStringLiteral("xl/workbook.xml"))) {
        if (archive.has(QStringLiteral("content.xml")))
            return unreadable(QStringLiteral("the file is an OpenDocument spreadsheet (.ods), which is not read") + ReadItAs);
        return unreadable(QStringLiteral("the file is a zip archive but no .xlsx workbook: it has no xl/workbook.xml"));
    }
    const std::optional<QByteArray> book = archive.part(QStringLiteral("xl/workbook.xml"), &problem);
    if (!book)
        return unreadable(problem);
    const std::vector<SheetEntry> sheets = sheetsOf(*book, &problem);
    if (!problem.isEmpty())
        return unreadable(problem);
    if (sheets.empty())
        return unreadable(QStringLiteral("the workbook holds no sheet"));

    const SheetEntry *chosen = &sheets.front();
    if (!sheet.isEmpty()) {
        auto named = [&](Qt::CaseSensitivity sensitivity) {
            const auto found = std::find_if(sheets.begin(), sheets.end(), [&](const SheetEntry &entry) {
                return entry.name.compare(sheet, sensitivity) == 0;
            });
            return found == sheets.end() ? nullptr : &*found;
        };
        chosen = named(Qt::CaseSensitive);
        if (!chosen)
            chosen = named(Qt::CaseInsensitive);
        if (!chosen) {
            QStringList names;
            for (const SheetEntry &entry : sheets)
                names.append(u'"' + entry.name + u'"');
            return unreadable(QStringLiteral("the workbook has no sheet named \"%1\"; its sheets are %2")
                                  .arg(sheet, names.join(QLatin1String(", "))));
        }
    }

    const std::optional<QByteArray> rels = archive.part(QStringLiteral("xl/_rels/workbook.xml.rels"), &problem);
    if (!rels)
        return unreadable(problem);
    QString sheetPart, sheetType, stringsPart;
    for (const auto &[id, relation] : relationsOf(*rels)) {
        if (id == chosen->relation) {
            sheetPart = relation.target;
            sheetType = relation.type;
        }
        if (relation.type == u"sharedStrings" && stringsPart.isEmpty())
            stringsPart = relation.target;
    }
    if (sheetPart.isEmpty())
        return unreadable(QStringLiteral("the workbook does not say where its sheet \"%1\" is").arg(chosen->name));
    if (sheetType != u"worksheet")
        return unreadable(QStringLiteral("the sheet \"%1\" is no table of cells (it is a %2)").arg(chosen->name, sheetType));

    TextTable table;
    table.format = TableFormat::Workbook;
    table.separator = QChar();
    table.sheet = chosen->name;
    QStringList strings;
    if (!stringsPart.isEmpty() && archive.has(stringsPart)) {
        const std::optional<QByteArray> part = archive.part(stringsPart, &problem);
        if (!part)
            return unreadable(problem);
        strings = sharedStrings(*part, &problem);
        if (!problem.isEmpty())
            table.issues.push_back({0, problem});
    }
    const std::optional<QByteArray> cells = archive.part(sheetPart, &problem);
    if (!cells)
        return unreadable(problem);

    table.rows = SheetReader(*cells, strings, table).read();
    return table;
}

} // namespace

} // namespace Tessar

extern "C" Q_DECL_EXPORT const Tessar::WorkbookCodec *tessarWorkbookCodec()
{
    static const Tessar::WorkbookCodec codec{Tessar::writeWorkbook, Tessar::readSheet};
    return &codec;
}

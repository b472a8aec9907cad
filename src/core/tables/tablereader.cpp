#include "core/tables/tablereader.h"

#include "core/files/cp1252.h"
#include "core/tables/workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace Tessar {

namespace {

const QLatin1String CopyAllStart("Filename:");

struct SeparatorCount
{
    qsizetype tabs = 0, commas = 0, semicolons = 0;
};

SeparatorCount countSeparators(QStringView line)
{
    SeparatorCount n;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\t')
            ++n.tabs;
        else if (c == u',')
            ++n.commas;
        else if (c == u';')
            ++n.semicolons;
    }
    return n;
}

// How many of the lines after the header split into as many cells with the
// separator as the header does (semicolons first, commas second).
std::pair<int, int> linesThatFit(QStringView text, const SeparatorCount &header)
{
    int semicolonFits = 0, commaFits = 0, looked = 0;
    qsizetype pos = 0;
    auto nextLine = [&]() {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = text.sliced(pos, end - pos);
        pos = end;
        while (pos < text.size() && (text[pos] == u'\r' || text[pos] == u'\n'))
            ++pos;
        return line;
    };
    nextLine();     // the header itself
    while (pos < text.size() && looked < 50) {
        const QStringView line = nextLine();
        if (line.trimmed().isEmpty())
            continue;
        ++looked;
        const SeparatorCount n = countSeparators(line);
        semicolonFits += n.semicolons == header.semicolons;
        commaFits += n.commas == header.commas;
    }
    return {semicolonFits, commaFits};
}

// The separator a table uses: a tab wherever one appears on the header line,
// otherwise a semicolon where there are more of them than commas
// (spreadsheets set to a decimal comma save that way), otherwise a comma. As
// many of each is settled by the lines after the header; `tie` is set when
// they do not settle it either.
QChar guessSeparator(QStringView text, QStringView line, TableSource source, bool *tie)
{
    *tie = false;
    if (source == TableSource::TsvFile)
        return u'\t';
    const SeparatorCount n = countSeparators(line);
    if (source == TableSource::Content && (n.tabs > 0 || n.commas + n.semicolons == 0))
        return u'\t';
    if (n.semicolons != n.commas)
        return n.semicolons > n.commas ? u';' : u',';
    const auto [semicolonFits, commaFits] = linesThatFit(text, n);
    if (semicolonFits != commaFits)
        return semicolonFits > commaFits ? u';' : u',';
    *tie = true;
    return u',';
}

// "sep=;": the first line some spreadsheets write to name the separator.
bool separatorLine(QStringView line, QChar *separator)
{
    if (line.size() != 5 || !line.startsWith(u"sep=", Qt::CaseInsensitive) || line[4] == u'"')
        return false;
    *separator = line[4];
    return true;
}

QStringView firstLine(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    return text.first(end);
}

QStringView afterFirstLine(QStringView text)
{
    text = text.sliced(firstLine(text).size());
    if (text.startsWith(u"\r\n"))
        return text.sliced(2);
    return text.isEmpty() ? text : text.sliced(1);
}

} // namespace

TableSource tableSourceForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return TableSource::CsvFile;
    if (suffix == QLatin1String("tsv") || suffix == QLatin1String("tab"))
        return TableSource::TsvFile;
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("xlsm"))
        return TableSource::WorkbookFile;
    return TableSource::Content;
}

QString decodeTableBytes(QByteArrayView bytes, QString *encoding)
{
    auto decode = [&](QStringDecoder::Encoding which, QByteArrayView body, const char *name) {
        QStringDecoder decoder(which, QStringDecoder::Flag::Stateless);
        QString text = decoder(body);
        if (encoding)
            *encoding = QLatin1String(name);
        return std::pair(text, decoder.hasError());
    };

    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decode(QStringDecoder::Utf8, bytes.sliced(3), "UTF-8").first;
    if (bytes.startsWith("\xFF\xFE"))
        return decode(QStringDecoder::Utf16LE, bytes.sliced(2), "UTF-16").first;
    if (bytes.startsWith("\xFE\xFF"))
        return decode(QStringDecoder::Utf16BE, bytes.sliced(2), "UTF-16").first;
    auto [text, failed] = decode(QStringDecoder::Utf8, bytes, "UTF-8");
    if (!failed)
        return text;
    if (encoding)
        *encoding = QStringLiteral("Windows-1252");
    return decodeCp1252(bytes);
}

TextTable readTable(QStringView text, TableSource source)
{
    TextTable table;
    if (text.startsWith(u'\xFEFF'))
        text = text.sliced(1);

    int skippedLines = 0;
    if (source != TableSource::CsvFile && text.startsWith(CopyAllStart)) {
        const QStringView line = firstLine(text);
        table.format = TableFormat::CopyAll;
        table.copyAllTitle = line.sliced(CopyAllStart.size()).trimmed().toString();
        text = afterFirstLine(text);
        skippedLines = 1;
    }

    bool tie = false;
    QChar named;
    if (table.format == TableFormat::CopyAll) {
        table.separator = u'\t';
    } else if (source != TableSource::TsvFile && separatorLine(firstLine(text), &named)) {
        table.separator = named;
        table.format = table.separator == u'\t' ? TableFormat::Tsv : TableFormat::Csv;
        text = afterFirstLine(text);
        skippedLines = 1;
    } else {
        table.separator = guessSeparator(text, firstLine(text), source, &tie);
        table.format = table.separator == u'\t' ? TableFormat::Tsv : TableFormat::Csv;
    }

    // Copy All never quotes: its values go out exactly as they are.
    int stoppedAtLine = 0;
    std::vector<TextRecord> records = splitRecords(text, table.separator, table.format != TableFormat::CopyAll, &stoppedAtLine);
    for (TextRecord &record : records) {
        record.line += skippedLines;
        if (record.droppedCells > 0)
            table.issues.push_back({record.line, QStringLiteral("%1 cells past column %2 are not read")
                                                     .arg(record.droppedCells).arg(MaxCellsPerLine)});
        // Copy All ends every line with a tab: that is no column.
        if (table.format == TableFormat::CopyAll && record.cells.size() > 1 && record.cells.last().isEmpty())
            record.cells.removeLast();
    }

    if (tie)
        table.issues.push_back({1 + skippedLines, QStringLiteral("the header holds as many commas as semicolons and the lines after it "
                                                                 "do not tell which separates the columns; it is read with commas")});
    takeRecords(table, std::move(records));
    readPlateGrid(table);
    if (stoppedAtLine > 0)
        table.issues.push_back({stoppedAtLine + skippedLines,
                                QStringLiteral("the table holds more than %1 cells; it is not read from here on").arg(MaxCellsInText)});
    return table;
}

void takeRecords(TextTable &table, std::vector<TextRecord> &&records)
{
    std::size_t next = 0;
    for (; next < records.size() && records[next].isBlank(); ++next)
        table.issues.push_back({records[next].line, QStringLiteral("empty line before the header")});
    if (next < records.size()) {
        table.headerLine = records[next].line;
        table.header = std::move(records[next].cells);
        ++next;
    }
    table.rows.assign(std::make_move_iterator(records.begin() + qsizetype(next)),
                      std::make_move_iterator(records.end()));
}

TextTable readTable(QByteArrayView bytes, TableSource source, const QString &sheet)
{
    // Read as text, a workbook of the older kind is a page of noise that has no "Well" column.
    if (bytes.startsWith("\xD0\xCF\x11\xE0")) {
        TextTable table;
        table.issues.push_back({0, QStringLiteral("the file is a workbook of the older .xls kind, which is not read; "
                                                  "save it from the spreadsheet as .xlsx or CSV and import that")});
        return table;
    }
    if (source == TableSource::WorkbookFile || bytes.startsWith("PK\x03\x04"))
        return readWorkbook(bytes, sheet);
    QString encoding;
    const QString text = decodeTableBytes(bytes, &encoding);
    TextTable table = readTable(QStringView(text), source);
    table.encoding = encoding;
    return table;
}

bool readTableFile(const QString &path, QByteArray &bytes, QString &error)
{
    QFile file;
    bool opened = false;
    if (path == QLatin1String("-")) {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        error = file.errorString();
        return false;
    }
    // Read in pieces: standard input has no size to check beforehand.
    bytes.clear();
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0) {
            error = file.errorString();
            return false;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > MaxTableBytes) {
            error = QStringLiteral("the table is larger than %1 MiB").arg(MaxTableBytes / (1024 * 1024));
            return false;
        }
        bytes.append(buffer, qsizetype(n));
    }
    return true;
}

} // namespace Tessar

#include "coretest.h"

#include "core/editing/editing.h"
#include "core/document/state.h"
#include "core/tables/tableexport.h"
#include "core/tables/tableimport.h"
#include "core/tables/tablepaste.h"
#include "core/tables/tablereader.h"
#include "core/plate/wellname.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include <tuple>

using namespace Tessar;

namespace {

QStringList issueLines(const std::vector<TableIssue> &issues)
{
    QStringList lines;
    for (const TableIssue &issue : issues)
        lines << QString::number(issue.line) + ": " + issue.reason;
    return lines;
}

ImportPlan plan(const State &st, const QString &text, TableSource source = TableSource::Content, bool nameKeys = false)
{
    return planImport(st, readTable(QStringView(text), source), {nameKeys});
}

using Parts = std::vector<std::pair<const char *, QByteArray>>;

// A zip archive of `parts` at `path`, made with the zip library itself.
QString writeZip(const QString &path, const Parts &parts)
{
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto &[name, bytes] : parts)
        zip_file_add(zip, name, zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0), 0);
    if (!zip || zip_close(zip) != 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// One part of a zip archive at `path`, unpacked.
QByteArray zipPart(const QString &path, const char *name)
{
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
    zip_file_t *file = zip ? zip_fopen(zip, name, 0) : nullptr;
    QByteArray bytes;
    char buffer[4096];
    for (zip_int64_t n; file && (n = zip_fread(file, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, qsizetype(n));
    if (file)
        zip_fclose(file);
    if (zip)
        zip_discard(zip);
    return bytes;
}

// A table file read as the import command reads it.
TextTable readFile(const QString &path, const QString &sheet = {})
{
    QByteArray bytes;
    QString error;
    if (!readTableFile(path, bytes, error))
        qFatal("%s", qPrintable(error));
    return readTable(QByteArrayView(bytes), tableSourceForPath(path), sheet);
}

QList<QStringList> cellsOf(const TextTable &table)
{
    QList<QStringList> cells{table.header};
    for (const TextRecord &row : table.rows)
        cells.append(QStringList{QString::number(row.line) + u':' + row.cells.join(u'|')});
    return cells;
}

// A workbook of two sheets, "Notes" and "Plate 2", as a spreadsheet may
// write one: shared texts with formatted runs, texts in the cells, gaps,
// numbers, truth values, formulas and errors.
Parts workbookParts(const QByteArray &plateSheet)
{
    const QByteArray main = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray relation = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    return {
        {"xl/workbook.xml", "<workbook " + main + " xmlns:r=\"" + relation.chopped(1) + "\"><sheets>"
                            "<sheet name=\"Notes\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Plate 2\" sheetId=\"2\" r:id=\"rId7\"/>"
                            "<sheet name=\"Chart\" sheetId=\"3\" r:id=\"rId3\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + relation + "worksheet\" Target=\"worksheets/notes.xml\"/>"
         "<Relationship Id=\"rId7\" Type=\"" + relation + "worksheet\" Target=\"/xl/worksheets/plate.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"" + relation + "chartsheet\" Target=\"chartsheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId4\" Type=\"" + relation + "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/sharedStrings.xml", "<sst " + main + "><si><t>Well</t></si>"
                                 "<si><r><t xml:space=\"preserve\">Sample </t></r><r><rPr><b/></rPr><t>ID</t></r><rPh><t>x</t></rPh></si>"
                                 "<si><t>Conc</t></si><si><t>_x005F_x0041_ \xc2\xb5l</t></si></sst>"},
        {"xl/worksheets/notes.xml", "<worksheet " + main + "><sheetData><row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>notes</t></is></c>"
                                    "</row></sheetData></worksheet>"},
        {"xl/worksheets/plate.xml", plateSheet},
    };
}

const QByteArray plateSheet =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><cols><col min=\"1\" max=\"2\"/></cols><sheetData>"
    "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c>"
    "<c r=\"D1\" t=\"inlineStr\"><is><r><t>Fl</t></r><r><t>ag</t></r></is></c><c r=\"E1\" s=\"3\"/></row>"
    "<row r=\"3\" ht=\"20\"/>"
    "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>B1</t></is></c><c t=\"s\"><v>3</v></c><c r=\"C4\"><v>1.5</v></c>"
    "<c r=\"D4\" t=\"b\"><v>1</v></c></row>"
    "<row><c r=\"A5\" t=\"str\"><f>\"C\"&amp;2</f><v>C2</v></c><c r=\"C5\" t=\"e\"><v>#N/A</v></c><c r=\"ZZZZ5\"><v>1</v></c>"
    "<c r=\"XFD5\" t=\"s\"><v>0</v></c></row>"
    "<row r=\"6\"><c r=\"A6\" t=\"s\"><v>99</v></c><c r=\"D6\" t=\"b\"><v>0</v></c></row>"
    "</sheetData></worksheet>";

} // namespace

class TestTables : public QObject
{
    Q_OBJECT

private slots:
    void wellNames()
    {
        State st = exampleDocument(96);
        QCOMPARE(wellLabel(st, 13) + wellLabel(st, 96), "B1H12");
        for (const auto &[text, sample] : std::vector<std::pair<QString, int>>{
                 {"B1", 13}, {"b01", 13}, {" B 1 ", 13}, {"H12", 96}, {"A0000012", 12},
                 {"I1", 0}, {"A13", 0}, {"A0", 0}, {"A9999999999", 0},
                 {"", -1}, {"A", -1}, {"1A", -1}, {"A1x", -1}, {"@1", -1}, {"A-1", -1}})
            QCOMPARE(sampleOfWell(st, text), sample);

        // Past Z the rows of the largest plate go on with '[' to '`'.
        st = exampleDocument(1536);
        QCOMPARE(wellLabel(st, 1536), "`48");
        QCOMPARE(sampleOfWell(st, u"`48"), 1536);
        QCOMPARE(sampleOfWell(st, u"[1"), 26 * 48 + 1);
        // Other tools name those rows AA to AF.
        for (const auto &[text, sample] : std::vector<std::pair<QString, int>>{
                 {"AA1", 26 * 48 + 1}, {"af48", 1536}, {"Ab 02", 27 * 48 + 2}, {"a01", 1},
                 {"AG1", 0}, {"AA", -1}, {"A!1", -1}})
            QCOMPARE(sampleOfWell(st, text), sample);
        QCOMPARE(standardWellName(st, 1536) + standardWellName(st, 26 * 48), "AF48Z48");
        st.sampleTable(1536, 1) = "x";
        QVERIFY(documentTable(st, u',').contains("\r\nAF48,1536,,x"));
        QVERIFY(documentTable(st, u',', false, true).contains("\r\n`48,1536,,x"));
    }

    void separatorsAndHygiene()
    {
        // The separator, and whether the reader had to leave a tie unsettled.
        for (const auto &[text, separator, header, tie] : std::vector<std::tuple<QString, QChar, QStringList, bool>>{
                 {"Well;Konz., mM;Menge, \u00b5l\r\nA1;1,5;20\r\n", u';', {"Well", "Konz., mM", "Menge, \u00b5l"}, false},
                 {"Well,a;b\nA1,x;y\nA2,z\n", u',', {"Well", "a;b"}, false},
                 {"Well;a,b\n", u',', {"Well;a", "b"}, true},
                 {"sep=;\r\nWell,x;y\r\n", u';', {"Well,x", "y"}, false},
                 {"sep=|\nWell|Conc\n", u'|', {"Well", "Conc"}, false}}) {
            const TextTable table = readTable(QStringView(text), TableSource::CsvFile);
            QCOMPARE(table.separator, separator);
            QCOMPARE(table.header, header);
            QCOMPARE(!table.issues.empty(), tie);
        }
        QCOMPARE(readTable(u"sep=;\nWell;Conc\nA1;2\n", TableSource::CsvFile).rows[0].line, 3);

        // Control characters and line breaks never reach a field; the well
        // column has the names plate readers give it.
        const ImportPlan p = plan(exampleDocument(), "Well Position,Sample ID\r\nB1,\"a\tb\r\nc\x01\x7f\"\r\n");
        QCOMPARE(p.sampleNumbers(), std::vector<int>({7}));
        QCOMPARE(p.samples[0].values[0].second, "a b c  ");
        QCOMPARE(issueLines(p.issues), QStringList({"2: a line break in column \"Sample ID\" is stored as a blank",
                                                    "2: 3 tabs or control characters in column \"Sample ID\" are stored as blanks"}));
        for (const char *name : {"Wells", "position", " Well ID "})
            QVERIFY(plan(exampleDocument(), QString(name) + ",Conc\nA1,1\n").usable);
    }

    void splittingAndDecoding()
    {
        // Quoted cells hold separators, doubled quotes and line breaks; a
        // record's line is where it starts, whatever the line ends.
        auto records = splitRecords(u"a,\"b,\"\"c\"\"\",\"x\r\ny\"\rlast,\"\"\n\n", u',', true);
        QCOMPARE(records.size(), 3u);
        QCOMPARE(records[0].cells, QStringList({"a", "b,\"c\"", "x\r\ny"}));
        QCOMPARE(QList<int>({records[1].line, records[2].line}), QList<int>({3, 4}));
        QCOMPARE(records[1].cells, QStringList({"last", ""}));
        QVERIFY(records[2].isBlank());

        // A quote that does not open a proper quoted cell is plain text, and
        // one never closed does not swallow the lines after it.
        records = splitRecords(u"\"5\" plate\tx\n\"open\tcell\nnext\t\"q\"\n", u'\t', true);
        QCOMPARE(records.size(), 3u);
        QCOMPARE(records[0].cells, QStringList({"\"5\" plate", "x"}));
        QCOMPARE(records[1].cells, QStringList({"\"open", "cell"}));
        QCOMPARE(records[2].cells, QStringList({"next", "q"}));

        QString written;
        appendCell(written, u"plain", u',');
        appendCell(written, u"a,\"b\"", u',');
        appendCell(written, u"x\ry", u',');
        QCOMPARE(written, "plain\"a,\"\"b\"\"\"\"x\ry\"");
        // Separators inside a quoted caption do not count towards the guess.
        QCOMPARE(readTable(u"\"Sample ID; Conc; pH\",Well\r\n", TableSource::CsvFile).separator, u',');

        QString encoding;
        QCOMPARE(decodeTableBytes("\xEF\xBB\xBFWell", &encoding), "Well");
        QCOMPARE(decodeTableBytes(QByteArray("\xFF\xFEW\0e\0", 6), &encoding), "We");
        QCOMPARE(encoding, "UTF-16");
        QCOMPARE(decodeTableBytes("5 \xB5g \x80", &encoding), QString::fromUtf8("5 µg €"));
        QCOMPARE(encoding, "Windows-1252");
    }

    void exportFormats()
    {
        State st = exampleDocument();
        st.sampleTable(24, 2) = "1,5 \"mM\"";
        QCOMPARE(exportDocument(st, ExportFormat::Csv),
                 "Well,Sample No.,Key,Sample ID,Conc\r\n"
                 "A2,2,Blank,S-01,\r\n"
                 "D6,24,,,\"1,5 \"\"mM\"\"\"\r\n");
        QCOMPARE(exportDocument(st, ExportFormat::Tsv).split('\n').at(2), "D6\t24\t\t\t\"1,5 \"\"mM\"\"\"\r");
        QCOMPARE(documentTable(st, u',', true).count(u'\n'), 25);

        const QJsonObject json = documentJson(st, FileHeader, true);
        QCOMPARE(json["samples"].toArray().size(), 24);
        QCOMPARE(json["samples"][1]["well"].toString(), "A2");
    }

    // A document exported as a workbook file and imported again is the same
    // document, whatever its texts look like to a spreadsheet.
    void workbookRoundTrip()
    {
        State st = exampleDocument(96);
        st.fieldName[2] = "Conc, \u00b5l \u00dc";
        const QStringList values{"=1+1", "=cmd|' /C calc'!A0", "007", "1/2", "3e5", "12:30", "50%", "TRUE", "(5)",
                                 "-20 \u00b0C", "+ control", "@x", " padded ", "_x0041_", QString(300, u'w')};
        for (qsizetype i = 0; i < values.size(); ++i)
            st.sampleTable(int(i) * 5 + 3, i % 2 ? 2 : 1) = values[i];
        QString error;
        const QByteArray bytes = documentWorkbook(st, false, &error);
        QVERIFY2(!bytes.isEmpty(), qPrintable(error));
        QTemporaryDir dir;
        const QString path = writeBytes(dir.filePath("samples.xlsx"), bytes);
        const TextTable table = readFile(path);
        QCOMPARE(table.format, TableFormat::Workbook);
        QCOMPARE(table.sheet, "Samples");
        QVERIFY(table.issues.empty());
        QList<QStringList> expected;
        const std::vector<QStringList> rows = documentRows(st);
        for (std::size_t r = 0; r < rows.size(); ++r)
            expected.append(r == 0 ? rows[r] : QStringList{QString::number(r + 1) + u':' + rows[r].join(u'|')});
        QCOMPARE(cellsOf(table), expected);
        // The header stays in view; every cell is text, the long one's column is held in.
        const QByteArray sheet = zipPart(path, "xl/worksheets/sheet1.xml");
        QVERIFY(sheet.contains("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"));
        QCOMPARE(sheet.count("<c "), sheet.count(" t=\"s\""));
        QVERIFY(sheet.contains("<col min=\"4\" max=\"4\" width=\"60.7109375\""));

        // Empty cells empty their fields: a spreadsheet row is never short.
        State other = st;
        for (int s = 1; s <= 96; ++s)
            for (int f = 0; f < 3; ++f)
                other.sampleTable(s, f) = SampleHasData(st, s) ? QStringLiteral("old") : st.sampleTable(s, f);
        QCOMPARE(applyImport(other, planImport(other, table)), ApplyStatus::Applied);
        QCOMPARE(sampleFileBytes(other), sampleFileBytes(st));
    }

    void workbookSheets()
    {
        QTemporaryDir dir;
        const QString book = writeZip(dir.filePath("book.xlsx"), workbookParts(plateSheet));
        QCOMPARE(cellsOf(readFile(book)), (QList<QStringList>{{"", "notes"}}));
        const TextTable plate = readFile(book, "plate 2");
        QCOMPARE(plate.sheet, "Plate 2");
        QCOMPARE(cellsOf(plate), (QList<QStringList>{{"Well", "Sample ID", "Conc", "Flag"},
                                                     {"4:B1|_x0041_ \u00b5l|1.5|TRUE"},
                                                     {"5:C2||#N/A|"},
                                                     {"6:|||FALSE"}}));
        QCOMPARE(issueLines(plate.issues), QStringList({"5: the cell \"ZZZZ5\" is no cell of a sheet and is not read",
                                                        "5: 1 cells past column 4096 are not read",
                                                        "6: the cell A6 names a shared text the workbook lacks; it is read empty"}));

        // Whatever is wrong with the file, it is said in a line, and nothing is read.
        const QByteArray bomb = "<worksheet><sheetData>" + QByteArray(MaxTableBytes, ' ') + "</sheetData></worksheet>";
        Parts sheetless = workbookParts(plateSheet);
        sheetless.pop_back();
        for (const auto &[parts, sheet, says] : std::vector<std::tuple<Parts, QString, QString>>{
                 {{}, "", "the file is no .xlsx workbook: not a zip archive"},
                 {{{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", "<x/>"}}, "",
                  "the file is an OpenDocument spreadsheet (.ods), which is not read; save it from the spreadsheet as .xlsx or CSV and import that"},
                 {{{"word/document.xml", "<x/>"}}, "", "the file is a zip archive but no .xlsx workbook: it has no xl/workbook.xml"},
                 {workbookParts(plateSheet), "Plate 3", "the workbook has no sheet named \"Plate 3\"; its sheets are \"Notes\", \"Plate 2\", \"Chart\""},
                 {workbookParts(plateSheet), "chart", "the sheet \"Chart\" is no table of cells (it is a chartsheet)"},
                 {sheetless, "Plate 2",
                  "the workbook lacks its part xl/worksheets/plate.xml"},
                 {workbookParts(bomb), "Plate 2", "the workbook unpacks to more than 64 MiB, more than any sample list can hold"}}) {
            const QString path = parts.empty() ? writeBytes(dir.filePath("bad.xlsx"), "Well,Conc\r\n") : writeZip(dir.filePath("bad.xlsx"), parts);
            const TextTable table = readFile(path, sheet);
            QCOMPARE(issueLines(table.issues), QStringList{"0: " + says});
            QVERIFY(table.header.isEmpty() && table.rows.empty());
        }
        // A sheet damaged part-way is read up to the damage.
        const TextTable cut = readFile(writeZip(dir.filePath("cut.xlsx"), workbookParts(plateSheet.first(plateSheet.indexOf("<row r=\"6\"") + 14))), "Plate 2");
        QCOMPARE(cut.rows.size(), 2u);
        QVERIFY(issueLines(cut.issues).last().startsWith("6: the sheet is damaged here ("));
        // An old .xls workbook, by its first bytes, whatever its name.
        QCOMPARE(issueLines(readTable(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"), TableSource::CsvFile).issues),
                 QStringList({"0: the file is a workbook of the older .xls kind, which is not read; save it from the spreadsheet as .xlsx or CSV and import that"}));
    }

    void importMatchesColumnsAndWells()
    {
        State st = exampleDocument();
        st.fieldName[2] = "Sample ID";   // two rows captioned alike fill in order
        st.sampleTable(3, 1) = "kept: not in the table";
        st.sampleTable(5, 2) = "kept: column missing from a short line";
        const QString table = "\xEF\xBB\xBF WELL ;sample id;KEY;Sample ID\r\n"
                              "a01;x1;std;y1\r\n"
                              "B5;;;\r\n"
                              "A5;x5\r\n";
        const ImportPlan p = plan(st, table, TableSource::CsvFile);
        QVERIFY(p.usable);
        QCOMPARE(p.format, TableFormat::Csv);
        QCOMPARE(p.columns[1].field * 10 + p.columns[3].field, 12);
        QCOMPARE(p.sampleNumbers(), std::vector<int>({1, 5, 11}));
        QCOMPARE(issueLines(p.issues), QStringList({"4: 2 cells where the header has 4; the missing ones change nothing"}));

        QCOMPARE(applyImport(st, p), ApplyStatus::Applied);
        QCOMPARE(QStringList({st.sampleTable(1, 0), st.sampleTable(1, 1), st.sampleTable(1, 2)}),
                 QStringList({"Std", "x1", "y1"}));
        // An empty cell empties its field; a missing one, or a sample the
        // table does not name, keeps what it held.
        QCOMPARE(st.sampleTable(5, 1) + "|" + st.sampleTable(5, 2), "x5|kept: column missing from a short line");
        QCOMPARE(st.sampleTable(3, 1), "kept: not in the table");

        // A plan made for another document is refused.
        QCOMPARE(applyImport(st, p), ApplyStatus::StateChanged);
    }

    void importReportsEveryProblem()
    {
        State st = exampleDocument();
        const QString table = "Sample No.\tKey\tConc\tRemarks\t\n"
                              "3\tnew key\ta \"b\"\t\t\n"
                              "\n"
                              "25\t\t\t\t\n"
                              "x\t\t\t\t\n"
                              "3\tBlank\t\"line\nbreak\u03b1\"\t\t\textra\n";
        const ImportPlan p = plan(st, table);
        QCOMPARE(issueLines(p.issues), QStringList({
            "1: column \"Remarks\" matches no row caption; it is not imported",
            "2: key \"new key\" matches no key name; it is stored as written",
            "2: a double quote in column \"Conc\" is stored as an apostrophe",
            "3: empty line",
            "4: sample 25 is not on a 24-well plate; the line is skipped",
            "5: \"x\" is no sample number; the line is skipped",
            "6: 6 cells where the header has 5; the extra ones are not imported",
            "6: a line break in column \"Conc\" is stored as a blank",
            "6: column \"Conc\" holds characters a sample file cannot store; each is stored as \"?\"",
            "6: well A3 was already given on line 2; this line replaces it",
        }));
        QCOMPARE(p.samples.size(), 1u);
        QCOMPARE(p.samples[0].values[1].second, "line break?");

        // Free keys take the unknown names, an existing key matches whatever its case.
        const ImportPlan named = plan(st, "Well,Key\nA1,new key\nA2,NEW KEY\nA3, blank \n", TableSource::Content, true);
        QVERIFY(!named.hasProblems());
        QCOMPARE(named.keyNames[3], "new key");
        QCOMPARE(named.samples[1].values[0].second + "|" + named.samples[2].values[0].second, "new key|Blank");

        // A line too wide for any sample list is cut, not kept whole.
        const ImportPlan wide = plan(st, "Well" + QString(",").repeated(5000) + "\nA1,x\n");
        QCOMPARE(wide.columns.size(), 4096u);
        QCOMPARE(issueLines(wide.issues), QStringList({"1: 905 cells past column 4096 are not read",
                                                       "1: column 2 has no name; its values are not imported",
                                                       "2: 2 cells where the header has 4096; the missing ones change nothing"}));

        // Tables that cannot be imported at all.
        QVERIFY(!plan(st, "").usable);
        QVERIFY(!plan(st, "Name,Conc\nx,1\n").usable);
        const ImportPlan headerOnly = plan(st, "Well;Conc\r\n");
        QVERIFY(headerOnly.usable && !headerOnly.hasProblems() && headerOnly.samples.empty());
    }

    void plateGrids()
    {
        // Blocks stacked without a blank line, row letters in either case,
        // the key row's block by its caption, numbers with leading zeros.
        State st = exampleDocument();
        ImportPlan p = plan(st, "Sample ID,1,2,3\r\na,x1,x2,x3\r\nB,y1,,y3\r\nKey,01,02\r\nA,std,Blank\r\n");
        QVERIFY(!p.hasProblems());
        QCOMPARE(p.sampleNumbers(), std::vector<int>({1, 2, 3, 7, 8, 9}));
        QCOMPARE(applyImport(st, p), ApplyStatus::Applied);
        QCOMPARE(QStringList({st.sampleTable(1, 0), st.sampleTable(1, 1), st.sampleTable(2, 0), st.sampleTable(8, 1)}),
                 QStringList({"Std", "x1", "Blank", ""}));

        // Everything in the way of reading a grid, each with its line.
        const QString hostile = "Conc,1,2,3,4,5,6,7\n"   // a column more than the plate has
                                "A,1,2,3,4,5,6,70\n"
                                "B,1,2\n"
                                "E,5\n"                  // a row more than the plate has
                                "b,9,9,9,9,9,9,9,9\n"
                                "AG,1\n"
                                "total,3\n"
                                ",,,,\n"
                                "Conc,1\nA,x\n\n"
                                ",1\nA,q\n\n"
                                "Remarks,1,2,4\nA,x\n\n"
                                "C,5\n"
                                "Volume,1\nNotes\n";
        p = plan(exampleDocument(), hostile);
        QCOMPARE(issueLines(p.issues), QStringList({
            "1: block 1 (\"Conc\") has 3 filled cells outside the 24-well plate (rows A to D, columns 1 to 6); they are not imported",
            "3: 2 cells where block 1 has 7 columns; the missing ones change nothing",
            "4: 1 cell where block 1 has 7 columns; the missing ones change nothing",
            "5: 8 cells where block 1 has 7 columns; the extra ones are not imported",
            "5: row B of block 1 was already given on line 3; this line replaces it",
            "6: row AG is on no plate (the largest ends at row AF); the line is not read",
            "7: \"total\" is no row letter; the line is not read",
            "9: block 2 (\"Conc\") comes twice; the second is not imported",
            "12: block 3 has no caption in its corner cell; it is not imported",
            "15: the column numbers on this line do not run 1, 2, 3, ...; the block it starts is not read",
            "18: row C stands under no line of column numbers; the line is not read",
            "19: block 4 has no rows under its column numbers",
            "19: block 4 (\"Volume\") matches no row caption; it is not imported",
            "20: \"Notes\" is no row letter; the line is not read"}));
        QCOMPARE(p.sampleNumbers(), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        QCOMPARE(p.samples[6].values, (std::vector<std::pair<int, QString>>{{2, "9"}}));

        // The largest plate: rows past Z are AA to AF, columns end at 48.
        QString wide = "Conc";
        for (int c = 1; c <= 50; ++c)
            wide += QStringLiteral(",%1").arg(c);
        wide += "\nZ,z\naa,x\nAf" + QString(",y").repeated(47) + ",y48\n";
        p = plan(exampleDocument(1536), wide);
        QCOMPARE(issueLines(p.issues), QStringList({
            "1: block 1 numbers 50 columns and the largest plate has 48; the columns past 48 are not read",
            "2: 1 cell where block 1 has 48 columns; the missing ones change nothing",
            "3: 1 cell where block 1 has 48 columns; the missing ones change nothing"}));
        QCOMPARE(p.sampleNumbers().front(), 25 * 48 + 1);
        QCOMPARE(p.samples[1].sample, 26 * 48 + 1);
        QCOMPARE(p.samples.back().sample, 1536);
        QCOMPARE(p.samples.back().values[0].second, "y48");

        // Numbers across the top make no grid without row letters down the side.
        for (const char16_t *text : {u"Well,1,2\nA1,x,y\n", u"Conc,1,2\n", u"Conc,1,2\n1,x,y\n"})
            QVERIFY(readTable(text, TableSource::Content).blocks.empty());
    }

    void newDocumentFromTable()
    {
        State st = newPlate();
        shapeForTable(st, readTable(u"Well,Key,Sample ID,,Conc,Sample ID", TableSource::Content));
        QCOMPARE(st.fieldCount(), 4);
        QCOMPARE(QStringList({st.fieldName[1], st.fieldName[2], st.fieldName[3]}),
                 QStringList({"Sample ID", "Conc", "Sample ID"}));
        shapeForTable(st, readTable(u"Well,Key", TableSource::Content));
        QCOMPARE(st.fieldCount(), 4);
    }

    void pasteBlock()
    {
        State st = exampleDocument();
        st.topSample = 20;
        st.curGrid = 2;      // sample 22
        st.curRow = 1;
        st.sampleTable(23, 2) = "emptied";
        PastePlan p = planPaste(st, u"a\tb\tcut\r\n\"two\tcells\"\t\r\n\nd\ne\n");
        QCOMPARE(QList<int>({p.firstSample, p.lines, p.cutLines, p.cutColumns}), QList<int>({22, 5, 2, 1}));
        QCOMPARE(issueLines(p.issues), QStringList({
            "0: a sample has 3 rows: 1 column(s) past the last row are not pasted",
            "2: a tab or control character is stored as a blank",
            "4: the plate ends at well 24: this line and 1 more are not pasted"}));
        QCOMPARE(applyPaste(st, p), ApplyStatus::Applied);
        QCOMPARE(QStringList({st.sampleTable(22, 1), st.sampleTable(22, 2), st.sampleTable(23, 1),
                              st.sampleTable(23, 2), st.sampleTable(24, 1)}),
                 QStringList({"a", "b", "two cells", "", ""}));
        QCOMPARE(applyPaste(st, p), ApplyStatus::StateChanged);

        // The key row takes key names only; an empty cell takes the key away.
        st.curRow = 0;
        p = planPaste(st, u"std\tx\nnot a key %2\ty\n\n");   // a % in the text is no place for the number
        QCOMPARE(issueLines(p.issues), QStringList({"2: \"not a key %2\" is no key name; the key of sample 23 is left as it was"}));
        QCOMPARE(p.refusedCells, 1);
        st.sampleTable(23, 0) = "Blank";
        st.sampleTable(24, 0) = "Blank";
        p = planPaste(st, u"std\tx\nnot a key\ty\n\n");
        QCOMPARE(applyPaste(st, p), ApplyStatus::Applied);
        QCOMPARE(st.sampleTable(22, 0) + "|" + st.sampleTable(23, 0) + "|" + st.sampleTable(24, 0), "Std|Blank|");

        QVERIFY(!planPaste(st, u"").usable);
        st.curGrid = 9;
        QVERIFY(!planPaste(st, u"x").usable);
    }

    // Picked wells copy and paste as the plate lies (24 wells: 4 rows of 6).
    void pasteOnPickedWells()
    {
        State st = exampleDocument();
        st.curRow = 1;
        st.sampleTable(1, 1) = "a\tq";
        st.sampleTable(8, 1) = "d";
        st.sampleTable(7, 1) = "not picked";
        const QString block = pickedBlock(st, {1, 2, 8});   // A1, A2, B2
        QCOMPARE(block, "\"a\tq\"\tS-01\r\n\td\r\n");

        // Into a pick of C5, C6 and D6: the cell for D5 misses the pick, and
        // a line past the last plate row falls off the plate.
        st.sampleTable(23, 1) = "kept";
        const PastePlan p = planPaste(st, block + "x\ty\tz\r\n", {17, 18, 24});
        QCOMPARE(QList<int>({p.firstSample, p.outsideCells, p.cutLines}), QList<int>({17, 4, 0}));
        QCOMPARE(issueLines(p.issues), QStringList({"0: 4 cell(s) fall beside the selected wells and are not pasted",
                                                    "1: a tab or control character is stored as a blank"}));
        QCOMPARE(applyPaste(st, p), ApplyStatus::Applied);
        QCOMPARE(QStringList({st.sampleTable(17, 1), st.sampleTable(18, 1), st.sampleTable(23, 1), st.sampleTable(24, 1)}),
                 QStringList({"a q", "S-01", "kept", "d"}));
        QCOMPARE(pickedBlock(st, {}), QString());
    }
};

QTEST_GUILESS_MAIN(TestTables)
#include "tst_tables.moc"

#include "../core/coretest.h"

#include "core/plate/picturelayout.h"
#include "core/reports/printout.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QXmlStreamReader>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>

#include <sys/stat.h>
#include <unistd.h>

using namespace Tessar;

namespace {

const QByteArray exampleFile =
    "\"Corvant Tessar Version 5.00\"\r\n\"Run 7\"\r\n3\r\n\"HALV\"\r\n24\r\n"
    "\"Key\"\r\n\"Sample ID\"\r\n\"Conc\"\r\n"
    "-2147483632\r\n16711680\r\n65280\r\n16776960\r\n255\r\n16711935\r\n65535\r\n"
    "\"\"\r\n\"Blank\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
    "2\r\n\"Blank\"\r\n\"S-01\"\r\n\"\"\r\n-1\r\n";

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Run kwl(const QStringList &arguments, const QByteArray &input = {}, const QProcessEnvironment &environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSAR_KWL), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Root may write anywhere, so as root the tool runs as an ordinary user
// (nobody, in the supplementary groups given) to meet the file modes a user
// meets. `cache` is that user's cache folder.
constexpr uid_t Someone = 65534;

Run kwlAsUser(const QStringList &arguments, const QString &groups, const QString &cache)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CACHE_HOME", cache);
    process.setProcessEnvironment(environment);
    if (::geteuid() == 0) {
        const QString id = QString::number(Someone);
        process.start("setpriv",
                      QStringList{"--reuid=" + id, "--regid=" + id,
                                  groups.isEmpty() ? "--clear-groups" : "--groups=" + groups,
                                  QStringLiteral(TESSAR_KWL)} + arguments);
    } else {
        process.start(QStringLiteral(TESSAR_KWL), arguments);
    }
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Reads a position list the way a stage program does, with Python's own
// JSON reader: every value must sit in its typed envelope, or the program
// finds nothing. Prints one line per position.
const char *const positionReader = R"(
import json, sys
with open(sys.argv[1], encoding="utf-8") as f:
    doc = json.load(f)
assert doc["format"] == "Micro-Manager Property Map" and doc["major_version"] == 2 and doc["encoding"] == "UTF-8"
positions = doc["map"]["StagePositions"]
assert positions["type"] == "PROPERTY_MAP"
def scalar(value, kind):
    assert value["type"] == kind, value
    return value["scalar"]
for p in positions["array"]:
    device = scalar(p["DefaultXYStage"], "STRING")
    scalar(p["DefaultZStage"], "STRING")
    row, col = scalar(p["GridRow"], "INTEGER"), scalar(p["GridCol"], "INTEGER")
    assert type(row) is int and type(col) is int
    assert p["Properties"] == {"type": "PROPERTY_MAP", "scalar": {}}
    assert p["DevicePositions"]["type"] == "PROPERTY_MAP"
    (xy,) = [d for d in p["DevicePositions"]["array"] if scalar(d["Device"], "STRING") == device]
    assert xy["Position_um"]["type"] == "DOUBLE"
    x, y = xy["Position_um"]["array"]
    assert type(x) is float and type(y) is float
    print(scalar(p["Label"], "STRING"), device, row, col, x, y)
)";

const char *const csvReader = R"(
import csv, sys
with open(sys.argv[1], encoding="utf-8", newline="") as f:
    rows = list(csv.reader(f))
print("|".join(rows[0]))
for r in rows[1:]:
    print(int(r[0]), r[1], int(r[2]), r[3], float(r[4]), float(r[5]))
)";

QStringList python(const char *script, const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script), file});
    process.waitForFinished(30000);
    if (process.exitCode() != 0)
        qWarning("%s", process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// A file as LibreOffice Calc opens it (a CSV with the filter options
// `filter`), converted without a window to `format`: the converted file's path.
QString calcConvert(const QString &file, const QString &filter, const QString &format, const QString &profile)
{
    QStringList arguments{"-env:UserInstallation=file://" + profile, "--headless"};
    if (!filter.isEmpty())
        arguments << "--infilter=" + filter;
    QProcess office;
    office.start("soffice", arguments << "--convert-to" << format << "--outdir" << QFileInfo(file).path() << file);
    office.waitForFinished(180000);
    return QFileInfo(file).path() + "/" + QFileInfo(file).completeBaseName() + "." + format;
}

// The cells Calc makes of a file: a row of cells a line, a number as "="
// and its value, a formula as "formula:" and its text, a date, time,
// percentage or truth value as its type, ":" and the text shown.
QList<QStringList> calcCells(const QString &file, const QString &filter, const QString &profile)
{
    QList<QStringList> rows;
    QXmlStreamReader xml(fileBytes(calcConvert(file, filter, "fods", profile)));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"table-row") {
            rows.append(QStringList());
        } else if (xml.name() == u"table-cell" && !rows.isEmpty()) {
            const auto attributes = xml.attributes();
            const int repeat = std::clamp(attributes.value("table:number-columns-repeated").toInt(), 1, 20);
            const QStringView type = attributes.value("office:value-type");
            const QString value = attributes.hasAttribute("table:formula")
                ? QStringLiteral("formula:") + attributes.value("table:formula").toString()
                : type == u"float"
                ? QStringLiteral("=") + attributes.value("office:value").toString()
                : (type.isEmpty() || type == u"string" ? QString() : type.toString() + u':')
                    + xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            for (int i = 0; i < repeat; ++i)
                rows.last() << value;
        }
    }
    return rows;
}

struct stat statOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

void changeOwner(const QString &path, uid_t owner, gid_t group)
{
    if (::chown(QFile::encodeName(path).constData(), owner, group) != 0)
        qFatal("cannot change the owner of %s", qPrintable(path));
}

} // namespace

class TestTessarKwl : public QObject
{
    Q_OBJECT

private slots:
    void dump();
    void resaveAndCheck();
    void exportTables();
    void exportReadBySpreadsheet();
    void importCalcWorkbook();
    void exportPictures();
    void importTables();
    void resaveOverSharedFiles();
    void stagePositions();
    void stagePositionsInSpreadsheets();

private:
    QString write(const QString &name, const QByteArray &bytes) { return writeBytes(mDir.filePath(name), bytes); }
    QTemporaryDir mDir;
};

void TestTessarKwl::dump()
{
    Run run = kwl({"dump", write("a.kwl", exampleFile)});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.json()["keyColor"].toArray().first().toInteger(), -2147483632);
    const QJsonArray samples = run.json()["samples"].toArray();
    QCOMPARE(samples.first()["well"].toString(), "A2");
    QCOMPARE(samples.first()["fields"][1].toString(), "S-01");

    // A cut file: where the read stopped, and what was read before it.
    const QString cut = write("cut.kwl", exampleFile.left(exampleFile.indexOf("\"Blank\"\r\n\"S-01\"")));
    run = kwl({"dump", cut});
    QCOMPARE(run.status, 4);
    QCOMPARE(run.err.trimmed(), (cut + ":24: file ends where a sample field should be").toUtf8());
    QCOMPARE(run.json()["company"].toString(), "HALV");

    // No sample file: a fresh document with first-run defaults, not the user's settings.
    run = kwl({"dump", write("notes.txt", "shopping list\n")});
    QCOMPARE(run.status, 3);
    QCOMPARE(run.json()["wellCount"].toInt(), 96);
    QCOMPARE(kwl({"dump", mDir.filePath("missing.kwl")}).status, 1);
    QCOMPARE(kwl({"frobnicate", "x"}).status, 2);

    // A sample past the last well but inside the table does not end the read.
    QByteArray far = exampleFile;
    far.replace("\r\n-1\r\n", "\r\n50\r\n\"\"\r\n\"far\"\r\n\"\"\r\n3\r\n\"\"\r\n\"S-03\"\r\n\"\"\r\n-1\r\n");
    run = kwl({"dump", write("far.kwl", far)});
    QCOMPARE(run.status, 0);
    QStringList seen;
    for (const QJsonValue sample : run.json()["samples"].toArray())
        seen << QStringLiteral("%1 %2 %3").arg(sample["s"].toInt()).arg(sample["well"].toString(), sample["fields"][1].toString());
    QCOMPARE(seen, (QStringList{"2 A2 S-01", "3 A3 S-03", "50  far"}));
}

void TestTessarKwl::resaveAndCheck()
{
    const QString good = write("good.kwl", exampleFile);
    const QString out = mDir.filePath("out.kwl");
    QCOMPARE(kwl({"resave", good, out}).status, 0);
    QCOMPARE(fileBytes(out), QByteArray(exampleFile).replace("5.00", "5.1"));

    QByteArray bad = exampleFile;
    bad.replace("\r\n24\r\n", "\r\n25\r\n");
    const Run run = kwl({"check", good, write("bad.kwl", bad)});
    QVERIFY(run.status != 0);
    QVERIFY(run.out.contains("good.kwl: ok"));
    QVERIFY(run.err.contains("bad.kwl:5: plate format 25"));
}

void TestTessarKwl::exportTables()
{
    const QString good = write("table.kwl", exampleFile);
    Run run = kwl({"export", good, "--to", "csv"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, "Well,Sample No.,Key,Sample ID,Conc\r\nA2,2,Blank,S-01,\r\n");

    const QString out = mDir.filePath("all.tsv");
    QCOMPARE(kwl({"export", good, "--to", "tsv", "--all-wells", "-o", out}).status, 0);
    QCOMPARE(fileBytes(out).count('\n'), 25);
    // JSON is exactly what dump prints.
    QCOMPARE(kwl({"export", good, "--to", "json", "-o", "-"}).out, kwl({"dump", good}).out);

    // Rows 27 and 32 of the largest plate as other plate tools name them, or as the map does.
    State big = newPlate(1536);
    big.sampleTable(26 * 48 + 1, 1) = "r27";
    big.sampleTable(1536, 1) = "r32";
    const QString bigFile = writePlate(big, mDir.filePath("rows.kwl"));
    QCOMPARE(kwl({"export", bigFile, "--to", "csv"}).out.split('\n').mid(1, 2).join('|'), "AA1,1249,,r27,,,\r|AF48,1536,,r32,,,\r");
    QCOMPARE(kwl({"export", bigFile, "--to", "csv", "--own-letters"}).out.split('\n').mid(1, 2).join('|'),
             "[1,1249,,r27,,,\r|`48,1536,,r32,,,\r");

    QCOMPARE(kwl({"export", good, "--to", "xls"}).status, 2);
    // A workbook goes to a file, beside the sample file unless told.
    QCOMPARE(kwl({"export", good, "--to", "xlsx", "-o", "-"}).status, 2);
    QCOMPARE(kwl({"export", good, "--to", "xlsx"}).status, 0);
    QVERIFY(fileBytes(mDir.filePath("table.xlsx")).startsWith("PK\x03\x04"));
    QCOMPARE(kwl({"export", good}).status, 2);
    QCOMPARE(kwl({"dump", good, "--to", "csv"}).status, 2);
    run = kwl({"export", write("notes.txt", "shopping list\n"), "--to", "csv"});
    QCOMPARE(run.status, 3);
    QVERIFY(run.out.isEmpty());

    // The table formats never start the graphical side: they work where no
    // display platform can be loaded at all.
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.insert("QT_QPA_PLATFORM", "no-such-platform");
    run = kwl({"export", good, "--to", "csv"}, {}, noDisplay);
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.startsWith("Well,"));
}

// Values a spreadsheet would turn into formulas, numbers or dates,
// exported as a workbook and as CSV, and opened in Calc (the CSV with the
// filter options the README gives): every cell comes out as the very text,
// and as text.
void TestTessarKwl::exportReadBySpreadsheet()
{
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        QSKIP("LibreOffice is not installed");
    const QStringList hostile{"=1+1", "007", "1/2", "3e5", "12:30", "50%", "TRUE", "(5)", "-20 \u00b0C",
                              "+ control", "@SUM(A1)", "=cmd|' /C calc'!A0", "5 \u00b5l, 2x", "@x", "\u00b5l \u00dc"};
    QString table = "Well,Sample ID\n";
    QList<QStringList> expected{{"Well", "Sample No.", "Key", "Sample ID"}};
    for (qsizetype i = 0; i < hostile.size(); ++i) {
        const QString well = QString("%1%2").arg(QChar(char16_t(u'A' + i / 12))).arg(i % 12 + 1);
        table += QString("%1,\"%2\"\n").arg(well, hostile[i]);
        expected.append({well, QString::number(i + 1), "", hostile[i]});
    }
    const QString kwlFile = mDir.filePath("hostile.kwl"), csv = mDir.filePath("hostile.csv");
    const QString workbook = mDir.filePath("hostile.xlsx");
    QCOMPARE(kwl({"import", "-", "--wells", "96", "-o", kwlFile}, table.toUtf8()).status, 0);
    QCOMPARE(kwl({"export", kwlFile, "--to", "csv", "-o", csv}).status, 0);
    QCOMPARE(kwl({"export", kwlFile, "--to", "xlsx", "-o", workbook}).status, 0);

    for (const auto &[file, filter] : {std::pair{csv, "CSV:44,34,76,1,1/2/2/2/3/2/4/2/5/2/6/2/7/2/8/2/9/2/10/2/11/2/12/2/13/2,,true,false,false,false,false,false,false"},
                                       std::pair{workbook, ""}}) {
        const QList<QStringList> cells = calcCells(file, filter, mDir.filePath("office"));
        QVERIFY(cells.size() > hostile.size());
        for (qsizetype r = 0; r < expected.size(); ++r)
            QCOMPARE(cells[r].mid(0, 4), expected[r]);   // as text: no number, date or formula
    }
    // The workbook's header is bold.
    QVERIFY(fileBytes(mDir.filePath("hostile.fods")).contains("fo:font-weight=\"bold\""));
}

// A workbook Calc saved after a user typed into it: texts (007 typed into a
// column of text), numbers, truth values and an empty cell come in as the
// cells show them.
void TestTessarKwl::importCalcWorkbook()
{
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        QSKIP("LibreOffice is not installed");
    const QString csv = write("typed.csv", "Well,Sample ID,Conc,Flag\r\nA1,007,1.5,TRUE\r\nB2,S-2,-20,FALSE\r\nC3,\u00b5l \xc3\x9c,3e5,\r\n");
    const QString workbook = calcConvert(csv, "CSV:44,34,76,1,2/2,1033,false,true", "xlsx", mDir.filePath("office"));
    const QString created = mDir.filePath("typed.kwl");
    Run run = kwl({"import", workbook, "--wells", "96", "--sheet", "TYPED", "-o", created});
    QVERIFY2(run.status == 0, run.err.constData());
    QCOMPARE(kwl({"export", created, "--to", "csv"}).out,
             "Well,Sample No.,Key,Sample ID,Conc,Flag\r\nA1,1,,007,1.5,TRUE\r\nB2,14,,S-2,-20,FALSE\r\n"
             "C3,27,,\xc2\xb5l \xc3\x9c,300000,\r\n");
    run = kwl({"import", workbook, "--wells", "96", "--sheet", "Plate", "-o", created});
    QCOMPARE(run.status, 5);
    QCOMPARE(run.err.trimmed(), (workbook + ": the workbook has no sheet named \"Plate\"; its sheets are \"typed\"").toUtf8());
}

// A 384-well plate keyed in all six colours, through the real binary: each
// keyed well's disc is in its key's colour at its place in the picture, the
// drawing names the document, and the PDF holds page for page the very
// lines a printout of the document prints.
void TestTessarKwl::exportPictures()
{
    State state = newPlate(384);
    state.fileDesc = "Stability, plate 3";
    for (int k = 1; k <= KeyCount; ++k)
        state.keyName[std::size_t(k)] = QStringLiteral("Group %1").arg(k);
    const std::vector<int> keyed = {1, 2, 17, 100, 191, 200, 383, 384};
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        state.sampleTable(keyed[i], 0) = state.keyName[i % KeyCount + 1];
        state.sampleTable(keyed[i], 1) = QStringLiteral("S-%1").arg(keyed[i]);
    }
    const QString plate = writePlate(state, mDir.filePath("plate384.kwl"));
    state.filePath = plate;
    state.fileTitle = "plate384.kwl";

    // Without -o each picture goes beside the file, named after it. Run
    // from cron or a plain su (no runtime folder), the tool says nothing.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove("XDG_RUNTIME_DIR");
    bare.remove("QT_QPA_PLATFORM");
    for (const char *to : {"svg", "pdf", "png"}) {
        const Run quiet = kwl({"export", plate, "--to", to}, {}, bare);
        QCOMPARE(quiet.status, 0);
        QCOMPARE(quiet.err, QByteArray());
    }
    const QImage image(mDir.filePath("plate384.png"));
    const PictureLayout layout(state, PictureOptions{});
    QCOMPARE(image.size(), layout.size());
    // 1417 pixels are 120 mm at 300 dpi, so a document placing the picture
    // shows it at that size.
    QCOMPARE(image.dotsPerMeterX(), 11811);
    QCOMPARE(image.dotsPerMeterY(), 11811);
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        const Colour stored = state.keyColor[i % KeyCount + 1];
        const QColor expected(int(stored & 0xff), int(stored >> 8 & 0xff), int(stored >> 16 & 0xff));
        // Below the key number, inside the disc.
        const QPointF probe = layout.wellCentre(keyed[i]) + QPointF(0, 0.8 * layout.discRadius());
        QCOMPARE(image.pixelColor(probe.toPoint()), expected);
    }
    QCOMPARE(image.pixelColor(layout.wellCentre(3).toPoint()), QColor(Qt::white));
    const QString plain = mDir.filePath("bare.png");
    QCOMPARE(kwl({"export", plate, "--to", "png", "--width", "500", "--no-title", "--no-legend", "-o", plain}).status, 0);
    QCOMPARE(QImage(plain).size(), PictureLayout(state, {500, false, false}).size());

    const SvgDrawing svg = readSvg(mDir.filePath("plate384.svg"));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    QCOMPARE(svg.width, "119.973mm");
    // A ring for each well, a disc for each keyed one; the seven legend
    // lines (six keys, "Empty") ring and disc but one.
    QCOMPARE(svg.ellipses, 384 + 8 + 7 + 6);
    for (const char *text : {"plate384.kwl", "Stability, plate 3", "Key 1: Group 1"})
        QVERIFY2(svg.texts.contains(QLatin1String(text)), text);

    // Usage: standard output, a width out of range, picture options on a
    // table, row letters where no well is named by them.
    for (const QStringList &wrong : {QStringList{"--to", "png", "-o", "-"}, QStringList{"--to", "png", "--width", "50"},
                                     QStringList{"--to", "svg", "--width", "wide"}, QStringList{"--to", "csv", "--no-legend"},
                                     QStringList{"--to", "pdf", "--width", "900"}, QStringList{"--to", "json", "--own-letters"}})
        QVERIFY2(kwl(QStringList{"export", plate} + wrong).status == 2, qPrintable(wrong.join(u' ')));
    // A folder that cannot be written: status 1, the reason on stderr, nothing left behind.
    const QString blocked = mDir.filePath("plate384.png/inner.png");
    Run run = kwl({"export", plate, "--to", "png", "-o", blocked});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(blocked.toUtf8()));
    QCOMPARE(QImage(mDir.filePath("plate384.png")).size(), layout.size());
    // No sample file: nothing drawn.
    QCOMPARE(kwl({"export", write("notes.txt", "shopping list\n"), "--to", "svg"}).status, 3);
    QVERIFY(!QFile::exists(mDir.filePath("notes.svg")));

    // The printout replaces an older, longer file beside the document.
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    write("plate384.pdf", QByteArray(100000, 'x'));
    QCOMPARE(kwl({"export", plate, "--to", "pdf"}).status, 0);
    const QStringList printed = pdfText(mDir.filePath("plate384.pdf")).split(u'\f');
    const std::vector<PrintPage> pages = printoutPages(state);
    QCOMPARE(printed.size(), qsizetype(pages.size()) + 1);   // after the last form feed: nothing
    // Lines that hold something, blanks made single and ligatures spelt out.
    const auto visible = [](const QStringList &lines) {
        QStringList shown;
        for (const QString &line : lines)
            if (const QString text = line.normalized(QString::NormalizationForm_KC).simplified(); !text.isEmpty())
                shown << text;
        return shown;
    };
    for (std::size_t p = 0; p < pages.size(); ++p) {
        QStringList lines;
        for (const PrintLine &line : pages[p])
            lines << line.text;
        QCOMPARE(visible(printed[qsizetype(p)].split(u'\n')), visible(lines));
    }
}

void TestTessarKwl::importTables()
{
    const QString target = write("into.kwl", exampleFile);
    const QString table = write("t.csv", "Well,Key,Conc,Volume\r\nA1,Std,1.5,10\r\nZ9,,,\r\n");

    // Problems: each on stderr with its line, nothing written.
    Run run = kwl({"import", table, "--into", target});
    QCOMPARE(run.status, 5);
    QCOMPARE(QString::fromUtf8(run.err).split(u'\n').mid(0, 4), QStringList({
        table + ":1: column \"Volume\" matches no row caption; it is not imported",
        table + ":2: key \"Std\" matches no key name; it is stored as written",
        table + ":3: well Z9 is not on a 24-well plate; the line is skipped",
        table + ": 3 problem(s); nothing written (--force writes anyway)"}));
    QCOMPARE(fileBytes(target), exampleFile);

    // --force writes back into the file itself; --name-keys names a free key.
    run = kwl({"import", table, "--into", target, "--force", "--name-keys"});
    QCOMPARE(run.status, 0);
    QJsonObject doc = kwl({"dump", target}).json();
    QCOMPARE(doc["keyName"][2].toString(), "Std");
    QCOMPARE(doc["samples"][0]["fields"][2].toString(), "1.5");
    QCOMPARE(doc["samples"][1]["fields"][1].toString(), "S-01");

    // A new document from standard input: tab-separated by its content, its
    // columns become the rows and its key names the keys.
    const QString created = mDir.filePath("new.kwl");
    run = kwl({"import", "-", "--wells", "384", "-o", created}, "Well\tKey\tCompound\tConc\nP24\tQC\taspirin\t5\n");
    QCOMPARE(run.status, 0);
    doc = kwl({"dump", created}).json();
    QCOMPARE(doc["fieldName"].toArray(), QJsonArray({"Key", "Compound", "Conc"}));
    QCOMPARE(doc["keyName"][1].toString(), "QC");
    QCOMPARE(doc["samples"][0]["s"].toInt(), 384);

    // Usage, unreadable tables and damaged targets.
    QCOMPARE(kwl({"import", table, "--wells", "96"}).status, 2);
    QCOMPARE(kwl({"import", table, "--wells", "100", "-o", created}).status, 2);
    QCOMPARE(kwl({"import", table}).status, 2);
    QCOMPARE(kwl({"import", mDir.filePath("none.csv"), "--into", target}).status, 1);
    const QByteArray cut = exampleFile.left(exampleFile.indexOf("-1\r\n"));
    const QString damaged = write("damaged.kwl", cut);
    QCOMPARE(kwl({"import", table, "--into", damaged, "--force"}).status, 4);
    QCOMPARE(fileBytes(damaged), cut);
    QCOMPARE(kwl({"import", write("names.csv", "Name\r\nx\r\n"), "--into", target, "--force"}).status, 5);

    // A plate-shaped layout: its blocks' captions become the rows.
    run = kwl({"import", TESSAR_PLATES "/compound-conc-96.csv", "--wells", "96", "-o", created});
    QCOMPARE(run.status, 0);
    doc = kwl({"dump", created}).json();
    QCOMPARE(doc["fieldName"].toArray(), QJsonArray({"Key", "Compound", "Conc. (uM)"}));
    QCOMPARE(doc["samples"].toArray().size(), 95);     // well H11 is empty in both blocks
    QCOMPARE(doc["samples"][0]["fields"].toArray(), QJsonArray({"", "DMSO", "0"}));
    QCOMPARE(doc["samples"][94]["well"].toString(), "H12");
    QCOMPARE(doc["samples"][94]["fields"].toArray(), QJsonArray({"", "Staurosporine", "10"}));
}

// Saving over a file others share keeps its owner, group, mode and links,
// even where the folder cannot take a new file.
void TestTessarKwl::resaveOverSharedFiles()
{
    const bool root = ::geteuid() == 0;
    if (root && QStandardPaths::findExecutable("setpriv").isEmpty())
        QSKIP("running as root, and setpriv is missing to save as an ordinary user");
    const uid_t saver = root ? Someone : ::geteuid();
    const gid_t saverGroup = root ? Someone : ::getegid();
    QVERIFY(::chmod(QFile::encodeName(mDir.path()).constData(), 0755) == 0);
    const QString input = write("in.kwl", exampleFile);
    QVERIFY(::chmod(QFile::encodeName(input).constData(), 0644) == 0);
    const QString cache = mDir.filePath("cache");
    QDir().mkpath(cache);
    changeOwner(cache, saver, saverGroup);

    // A writable file in a folder the saver may not add files to.
    const QString locked = mDir.filePath("locked");
    QDir().mkpath(locked);
    const QString inLocked = locked + "/plate.kwl";
    QFile::copy(input, inLocked);
    ::chmod(QFile::encodeName(inLocked).constData(), 0666);
    changeOwner(inLocked, saver, saverGroup);
    changeOwner(locked, saver, saverGroup);
    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0555) == 0);
    const ino_t before = statOf(inLocked).st_ino;
    Run run = kwlAsUser({"resave", input, inLocked}, QString(), cache);
    QVERIFY2(run.status == 0, run.err.constData());
    QCOMPARE(statOf(inLocked).st_ino, before);
    QCOMPARE(statOf(inLocked).st_mode & 07777, mode_t(0666));
    QCOMPARE(fileBytes(inLocked), QByteArray(exampleFile).replace("5.00", "5.1"));
    QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden), QStringList{"plate.kwl"});
    // The copy kept while writing in place goes once the file is saved.
    QVERIFY(QFileInfo::exists(cache + "/Corvant/Tessar"));
    QCOMPARE(QDir(cache + "/Corvant/Tessar").entryList(QDir::Files), QStringList());
    ::chmod(QFile::encodeName(locked).constData(), 0755);

    // Someone else's file, shared through a group the saver is in: it stays
    // theirs and the group's.
    if (!root)
        QSKIP("only root can make a file owned by someone else for this user to save over");
    const gid_t lab = 4242;
    const QString shared = mDir.filePath("shared");
    QDir().mkpath(shared);
    QVERIFY(::chmod(QFile::encodeName(shared).constData(), 0777) == 0);
    const QString inShared = shared + "/plate.kwl";
    QFile::copy(input, inShared);
    changeOwner(inShared, 12345, lab);
    ::chmod(QFile::encodeName(inShared).constData(), 0664);
    run = kwlAsUser({"resave", input, inShared}, QString::number(lab), cache);
    QVERIFY2(run.status == 0, run.err.constData());
    const struct stat after = statOf(inShared);
    QCOMPARE(after.st_uid, uid_t(12345));
    QCOMPARE(after.st_gid, lab);
    QCOMPARE(after.st_mode & 07777, mode_t(0664));
    QCOMPARE(after.st_size, qint64(exampleFile.size()) - 1);   // "5.00" became "5.1"
}


// A 1536-well plate turned on the stage by 0.4 degrees and taught at three
// wells: the position list reads back, through a reader of its own, with
// the wells' labels in sample order and every well where the turned plate
// puts it.
void TestTessarKwl::stagePositions()
{
    if (QStandardPaths::findExecutable("python3").isEmpty())
        QSKIP("python3 is needed to read the files back");
    State doc = newPlate(1536);
    const std::vector<int> keyed = {1, 48, 1000, 26 * 48 + 1, 1536};
    for (int s : keyed)
        doc.sampleTable(s, 0) = "Std";
    const QString file = writePlate(doc, mDir.filePath("big.kwl"));
    const double turn = 0.4 * M_PI / 180;
    auto stage = [&](double xMm, double yMm) {
        return QPointF(5000 + 1000 * (std::cos(turn) * xMm - std::sin(turn) * yMm),
                       -2000 + 1000 * (std::sin(turn) * xMm + std::cos(turn) * yMm));
    };
    auto teach = [&](const char *well, double x, double y) {
        const QPointF at = stage(x, y);
        return QStringLiteral("%1=%2,%3").arg(well).arg(at.x(), 0, 'f', 4).arg(at.y(), 0, 'f', 4);
    };
    const QString pos = mDir.filePath("big.pos");
    Run run = kwl({"positions", file, "--plate", "ANSI/SLAS 1536", "--order", "sample", "--to", "pos", "-o", pos,
                   "--teach", teach("A1", 11.005, 7.865), teach("AF48", 116.755, 77.615), teach("A48", 116.755, 7.865),
                   "--xy-device", "Stage \"XY\""});
    QCOMPARE(run.status, 0);
    const QStringList read = python(positionReader, pos);
    QCOMPARE(read.size(), int(keyed.size()));
    const QStringList labels{"A1", "A48", "U40", "AA1", "AF48"};
    for (int i = 0; i < read.size(); ++i) {
        const QStringList f = read[i].split(' ');
        QCOMPARE(f[0], labels[i]);
        QCOMPARE(f.mid(1, 2).join(' '), "Stage \"XY\"");
        const int row = f[3].toInt(), col = f[4].toInt();
        QCOMPARE(row * 48 + col + 1, keyed[std::size_t(i)]);
        const QPointF want = stage(11.005 + col * 2.25, 7.865 + row * 2.25);
        QVERIFY2(std::abs(f[5].toDouble() - want.x()) < 0.01 && std::abs(f[6].toDouble() - want.y()) < 0.01,
                 qPrintable(read[i]));
    }

    // JSON for scripts: the plate and every position, in the order asked for.
    run = kwl({"positions", file, "--order", "shortest", "--to", "json"});
    QCOMPARE(run.json()["positions"].toArray().size(), 5);
    QCOMPARE(run.json()["plate"].toString(), "ANSI/SLAS 1536");

    // The fits, routes and settings are the core's to test; here only what
    // the command line adds: its own mistakes, each said, with the README's statuses.
    const QString small = writePlate(exampleDocument(96), mDir.filePath("small.kwl"));
    struct Bad { QStringList arguments; int status; const char *says; };
    for (const Bad &bad : std::initializer_list<Bad>{
             {{small, "--to", "pos", "--teach", "A1=10,10", "A1=900,900"}, 2, "A1 is taught twice"},
             {{small, "--to", "pos", "--teach", "A1=10;10"}, 2, "write WELL=X,Y"},
             {{small, "--to", "pos", "--plate", "Broken"}, 2, "no plate type \"Broken\""},
             {{small, "--to", "pos", "--plate", "ANSI/SLAS 384"}, 2, "the document's plate has 96"},
             {{small, "--to", "pos", "--order", "random"}, 2, "--order must be"},
             {{small, "--to", "xml"}, 2, "unknown positions format"},
             {{small, "--to", "pos", "--calibration", "Other"}, 2, "no calibration named"},
             {{write("notes.txt", "shopping list\n"), "--to", "pos"}, 3, ""},
             {{mDir.filePath("none.kwl"), "--to", "pos"}, 1, ""},
             {{small, "--to", "pos", "-o", mDir.filePath("no/such/dir.pos")}, 1, ""}}) {
        run = kwl(QStringList{"positions"} + bad.arguments);
        QCOMPARE(run.status, bad.status);
        QVERIFY2(run.err.contains(bad.says), run.err.constData());
    }
}

// The CSV as spreadsheets read it: Python's csv module finds the columns and
// numbers, and LibreOffice Calc, converting without a window, takes the
// coordinates as numbers with the unit intact in the headers.
void TestTessarKwl::stagePositionsInSpreadsheets()
{
    State doc = exampleDocument(384);
    doc.sampleTable(384, 0) = "Std, high";
    const QString file = writePlate(doc, mDir.filePath("sheet.kwl"));
    const QString csv = mDir.filePath("sheet.csv");
    QCOMPARE(kwl({"positions", file, "--plate", "ANSI/SLAS 384", "--to", "csv", "-o", csv}).status, 0);
    if (!QStandardPaths::findExecutable("python3").isEmpty()) {
        QCOMPARE(python(csvReader, csv), (QStringList{"Order|Well|Sample No.|Key|X (\u00b5m)|Y (\u00b5m)",
                                                      "1 A2 2 Blank 16630.0 8990.0",
                                                      "2 P24 384 Std, high 115630.0 76490.0"}));
    }
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    const QList<QStringList> cells = calcCells(csv, "CSV:44,34,76,1", mDir.filePath("office"));
    QVERIFY(cells.size() >= 3);
    QCOMPARE(cells[0].mid(0, 6), (QStringList{"Order", "Well", "Sample No.", "Key", "X (\u00b5m)", "Y (\u00b5m)"}));
    QCOMPARE(cells[1].mid(0, 6), (QStringList{"=1", "A2", "=2", "Blank", "=16630", "=8990"}));
    QCOMPARE(cells[2].mid(0, 6), (QStringList{"=2", "P24", "=384", "Std, high", "=115630", "=76490"}));
}

QTEST_GUILESS_MAIN(TestTessarKwl)
#include "tst_tessarkwl.moc"

#include "core/document.h"
#include "core/picturelayout.h"
#include "core/printout.h"
#include "core/samplefile.h"
#include "core/state.h"
#include "core/tableexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

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
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
    process.setProcessEnvironment(environment);
    if (::geteuid() == 0) {
        const QString id = QString::number(Someone);
        process.start(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id,
                                  groups.isEmpty() ? QStringLiteral("--clear-groups") : QStringLiteral("--groups=") + groups,
                                  QStringLiteral(TESSAR_KWL)} + arguments);
    } else {
        process.start(QStringLiteral(TESSAR_KWL), arguments);
    }
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
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
    void exportPictures();
    void picturesAndPrintoutCarryTheDocument();
    void importTables();
    void tableRoundTripOverCorpus();
    void resaveOverSharedFiles();

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(mDir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir mDir;
};

void TestTessarKwl::dump()
{
    Run run = kwl({QStringLiteral("dump"), write(QStringLiteral("a.kwl"), exampleFile)});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.json()[QStringLiteral("keyColor")].toArray().first().toInteger(), -2147483632);
    const QJsonArray samples = run.json()[QStringLiteral("samples")].toArray();
    QCOMPARE(samples.first()[QStringLiteral("well")].toString(), QStringLiteral("A2"));
    QCOMPARE(samples.first()[QStringLiteral("fields")][1].toString(), QStringLiteral("S-01"));

    // A cut file: where the read stopped, and what was read before it.
    const QString cut = write(QStringLiteral("cut.kwl"), exampleFile.left(exampleFile.indexOf("\"Blank\"\r\n\"S-01\"")));
    run = kwl({QStringLiteral("dump"), cut});
    QCOMPARE(run.status, 4);
    QCOMPARE(run.err.trimmed(), (cut + QStringLiteral(":24: file ends where a sample field should be")).toUtf8());
    QCOMPARE(run.json()[QStringLiteral("company")].toString(), QStringLiteral("HALV"));

    // No sample file: a fresh document with first-run defaults, not the user's settings.
    run = kwl({QStringLiteral("dump"), write(QStringLiteral("notes.txt"), "shopping list\n")});
    QCOMPARE(run.status, 3);
    QCOMPARE(run.json()[QStringLiteral("wellCount")].toInt(), 96);
    QCOMPARE(kwl({QStringLiteral("dump"), mDir.filePath(QStringLiteral("missing.kwl"))}).status, 1);
    QCOMPARE(kwl({QStringLiteral("frobnicate"), QStringLiteral("x")}).status, 2);

    // A sample past the last well but inside the table does not end the read.
    QByteArray far = exampleFile;
    far.replace("\r\n-1\r\n", "\r\n50\r\n\"\"\r\n\"far\"\r\n\"\"\r\n3\r\n\"\"\r\n\"S-03\"\r\n\"\"\r\n-1\r\n");
    run = kwl({QStringLiteral("dump"), write(QStringLiteral("far.kwl"), far)});
    QCOMPARE(run.status, 0);
    QStringList seen;
    for (const QJsonValue sample : run.json()[QStringLiteral("samples")].toArray())
        seen << QStringLiteral("%1 %2 %3").arg(sample[QStringLiteral("s")].toInt())
                    .arg(sample[QStringLiteral("well")].toString(), sample[QStringLiteral("fields")][1].toString());
    QCOMPARE(seen, (QStringList{QStringLiteral("2 A2 S-01"), QStringLiteral("3 A3 S-03"), QStringLiteral("50  far")}));
}

void TestTessarKwl::resaveAndCheck()
{
    const QString good = write(QStringLiteral("good.kwl"), exampleFile);
    const QString out = mDir.filePath(QStringLiteral("out.kwl"));
    QCOMPARE(kwl({QStringLiteral("resave"), good, out}).status, 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(exampleFile).replace("5.00", "5.1"));

    QByteArray bad = exampleFile;
    bad.replace("\r\n24\r\n", "\r\n25\r\n");
    const Run run = kwl({QStringLiteral("check"), good, write(QStringLiteral("bad.kwl"), bad)});
    QVERIFY(run.status != 0);
    QVERIFY(run.out.contains("good.kwl: ok"));
    QVERIFY(run.err.contains("bad.kwl:5: plate format 25"));
}

void TestTessarKwl::exportTables()
{
    const QString good = write(QStringLiteral("table.kwl"), exampleFile);
    Run run = kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("csv")});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, "Well,Sample No.,Key,Sample ID,Conc\r\nA2,2,Blank,S-01,\r\n");

    const QString out = mDir.filePath(QStringLiteral("all.tsv"));
    QCOMPARE(kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("tsv"), QStringLiteral("--all-wells"),
                  QStringLiteral("-o"), out}).status, 0);
    QCOMPARE(read(out).count('\n'), 25);
    // JSON is exactly what dump prints.
    QCOMPARE(kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("json"), QStringLiteral("-o"), QStringLiteral("-")}).out,
             kwl({QStringLiteral("dump"), good}).out);

    QCOMPARE(kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("xls")}).status, 2);
    QCOMPARE(kwl({QStringLiteral("export"), good}).status, 2);
    QCOMPARE(kwl({QStringLiteral("dump"), good, QStringLiteral("--to"), QStringLiteral("csv")}).status, 2);
    run = kwl({QStringLiteral("export"), write(QStringLiteral("notes.txt"), "shopping list\n"), QStringLiteral("--to"), QStringLiteral("csv")});
    QCOMPARE(run.status, 3);
    QVERIFY(run.out.isEmpty());
}

// A 384-well plate keyed in all six colours, through the real binary: each
// keyed well's disc is in its key's colour at its place in the picture, and
// the PDF holds the very lines a printout of the document prints.
void TestTessarKwl::picturesAndPrintoutCarryTheDocument()
{
    State state;
    applyFirstRunDefaults(state);
    state.wellCount = 384;
    newDocument(state);
    state.fileDesc = QStringLiteral("Stability, plate 3");
    for (int k = 1; k <= KeyCount; ++k)
        state.keyName[std::size_t(k)] = QStringLiteral("Group %1").arg(k);
    const std::vector<int> keyed = {1, 2, 17, 100, 191, 200, 383, 384};
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        state.sampleTable(keyed[i], 0) = state.keyName[i % KeyCount + 1];
        state.sampleTable(keyed[i], 1) = QStringLiteral("S-%1").arg(keyed[i]);
    }
    const QString plate = write(QStringLiteral("plate384.kwl"), sampleFileBytes(state));
    state.filePath = plate;
    state.fileTitle = QStringLiteral("plate384.kwl");

    const QString png = mDir.filePath(QStringLiteral("plate384.png"));
    QCOMPARE(kwl({QStringLiteral("export"), plate, QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("-o"), png}).status, 0);
    const QImage image(png);
    const PictureLayout layout(state, PictureOptions{});
    QCOMPARE(image.size(), layout.size());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        const Colour stored = state.keyColor[i % KeyCount + 1];
        const QColor expected(int(stored & 0xff), int(stored >> 8 & 0xff), int(stored >> 16 & 0xff));
        // Below the key number, inside the disc.
        const QPointF probe = layout.wellCentre(keyed[i]) + QPointF(0, 0.8 * layout.discRadius());
        QCOMPARE(image.pixelColor(probe.toPoint()), expected);
    }
    QCOMPARE(image.pixelColor(layout.wellCentre(3).toPoint()), QColor(Qt::white));

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    const QString pdf = mDir.filePath(QStringLiteral("plate384.pdf"));
    QCOMPARE(kwl({QStringLiteral("export"), plate, QStringLiteral("--to"), QStringLiteral("pdf"), QStringLiteral("-o"), pdf}).status, 0);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).replace(blanks, QStringLiteral(" "));
    qsizetype from = 0;
    for (const PrintPage &page : printoutPages(state)) {
        for (const PrintLine &line : page) {
            const QString wanted = line.text.simplified();
            if (wanted.isEmpty())
                continue;
            const qsizetype at = printed.indexOf(wanted, from);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("not in the PDF, in order: ") + wanted));
            from = at + wanted.size();
        }
    }
}

void TestTessarKwl::exportPictures()
{
    const QString good = write(QStringLiteral("run7.kwl"), exampleFile);
    State state;
    applyFirstRunDefaults(state);
    state.wellCount = 24;
    newDocument(state);
    state.filePath = good;
    QCOMPARE(ReadSampleFile(state).status, ReadResult::Complete);
    state.fileTitle = QStringLiteral("run7.kwl");

    // Without -o the picture goes beside the file, named after it.
    Run run = kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("--width"),
                   QStringLiteral("500")});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.isEmpty());
    const QByteArray png = read(mDir.filePath(QStringLiteral("run7.png")));
    QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
    const QSize drawn(qFromBigEndian<quint32>(png.constData() + 16), qFromBigEndian<quint32>(png.constData() + 20));
    QCOMPARE(drawn, PictureLayout(state, {500, true, true}).size());
    // Smaller without its title and legend.
    const QString bare = mDir.filePath(QStringLiteral("bare.png"));
    QCOMPARE(kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("--width"),
                  QStringLiteral("500"), QStringLiteral("--no-title"), QStringLiteral("--no-legend"), QStringLiteral("-o"), bare})
                 .status,
             0);
    QCOMPARE(qFromBigEndian<quint32>(read(bare).constData() + 20), quint32(PictureLayout(state, {500, false, false}).size().height()));

    // The SVG: a ring for each of the 24 wells, a disc for the one with
    // data; the seven legend lines (six keys, "Empty") ring and disc but one.
    const QString svg = mDir.filePath(QStringLiteral("plate.svg"));
    QCOMPARE(kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("svg"), QStringLiteral("-o"), svg}).status, 0);
    QXmlStreamReader xml(read(svg));
    int ellipses = 0;
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"ellipse" || xml.name() == u"circle")
            ++ellipses;
        else if (xml.name() == u"text")
            texts << xml.readElementText().trimmed();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(ellipses, 24 + 1 + 7 + 6);
    QVERIFY(texts.contains(QStringLiteral("run7.kwl")));
    QVERIFY(texts.contains(QStringLiteral("Run 7")));
    QVERIFY(texts.contains(QStringLiteral("Key 1: Blank")));

    // The printout, beside the file as well.
    QCOMPARE(kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("pdf")}).status, 0);
    const QByteArray pdf = read(mDir.filePath(QStringLiteral("run7.pdf")));
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));

    // Usage: standard output, a width out of range, picture options on a table.
    for (const QStringList &wrong : {QStringList{QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("-o"), QStringLiteral("-")},
                                     QStringList{QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("--width"), QStringLiteral("50")},
                                     QStringList{QStringLiteral("--to"), QStringLiteral("svg"), QStringLiteral("--width"), QStringLiteral("wide")},
                                     QStringList{QStringLiteral("--to"), QStringLiteral("csv"), QStringLiteral("--no-legend")},
                                     QStringList{QStringLiteral("--to"), QStringLiteral("pdf"), QStringLiteral("--width"), QStringLiteral("900")}}) {
        run = kwl(QStringList{QStringLiteral("export"), good} + wrong);
        QVERIFY2(run.status == 2, qPrintable(wrong.join(u' ')));
    }
    // A folder that cannot be written: status 1, the reason on stderr, nothing left behind.
    const QString blocked = mDir.filePath(QStringLiteral("run7.png/inner.png"));
    run = kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("png"), QStringLiteral("-o"), blocked});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains(blocked.toUtf8()));
    QCOMPARE(read(mDir.filePath(QStringLiteral("run7.png"))), png);
    // No sample file: nothing drawn.
    run = kwl({QStringLiteral("export"), write(QStringLiteral("notes.txt"), "shopping list\n"), QStringLiteral("--to"), QStringLiteral("svg")});
    QCOMPARE(run.status, 3);
    QVERIFY(!QFile::exists(mDir.filePath(QStringLiteral("notes.svg"))));

    // The table formats never start the graphical side: they work where no
    // display platform can be loaded at all.
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    run = kwl({QStringLiteral("export"), good, QStringLiteral("--to"), QStringLiteral("csv")}, {}, noDisplay);
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.startsWith("Well,"));
}

void TestTessarKwl::importTables()
{
    const QString target = write(QStringLiteral("into.kwl"), exampleFile);
    const QString table = write(QStringLiteral("t.csv"), "Well,Key,Conc,Volume\r\nA1,Std,1.5,10\r\nZ9,,,\r\n");

    // Problems: each on stderr with its line, nothing written.
    Run run = kwl({QStringLiteral("import"), table, QStringLiteral("--into"), target});
    QCOMPARE(run.status, 5);
    QCOMPARE(QString::fromUtf8(run.err).split(u'\n').mid(0, 4), QStringList({
        table + ":1: column \"Volume\" matches no row caption; it is not imported",
        table + ":2: key \"Std\" matches no key name; it is stored as written",
        table + ":3: well Z9 is not on a 24-well plate; the line is skipped",
        table + ": 3 problem(s); nothing written (--force writes anyway)"}));
    QCOMPARE(read(target), exampleFile);

    // --force writes back into the file itself; --name-keys names a free key.
    run = kwl({QStringLiteral("import"), table, QStringLiteral("--into"), target, QStringLiteral("--force"), QStringLiteral("--name-keys")});
    QCOMPARE(run.status, 0);
    QJsonObject doc = kwl({QStringLiteral("dump"), target}).json();
    QCOMPARE(doc[QStringLiteral("keyName")][2].toString(), QStringLiteral("Std"));
    QCOMPARE(doc[QStringLiteral("samples")][0][QStringLiteral("fields")][2].toString(), QStringLiteral("1.5"));
    QCOMPARE(doc[QStringLiteral("samples")][1][QStringLiteral("fields")][1].toString(), QStringLiteral("S-01"));

    // A new document from standard input: tab-separated by its content, its
    // columns become the rows and its key names the keys.
    const QString created = mDir.filePath(QStringLiteral("new.kwl"));
    run = kwl({QStringLiteral("import"), QStringLiteral("-"), QStringLiteral("--wells"), QStringLiteral("384"), QStringLiteral("-o"), created},
              "Well\tKey\tCompound\tConc\nP24\tQC\taspirin\t5\n");
    QCOMPARE(run.status, 0);
    doc = kwl({QStringLiteral("dump"), created}).json();
    QCOMPARE(doc[QStringLiteral("fieldName")].toArray(), QJsonArray({"Key", "Compound", "Conc"}));
    QCOMPARE(doc[QStringLiteral("keyName")][1].toString(), QStringLiteral("QC"));
    QCOMPARE(doc[QStringLiteral("samples")][0][QStringLiteral("s")].toInt(), 384);

    // Usage, unreadable tables and damaged targets.
    QCOMPARE(kwl({QStringLiteral("import"), table, QStringLiteral("--wells"), QStringLiteral("96")}).status, 2);
    QCOMPARE(kwl({QStringLiteral("import"), table, QStringLiteral("--wells"), QStringLiteral("100"), QStringLiteral("-o"), created}).status, 2);
    QCOMPARE(kwl({QStringLiteral("import"), table}).status, 2);
    QCOMPARE(kwl({QStringLiteral("import"), mDir.filePath(QStringLiteral("none.csv")), QStringLiteral("--into"), target}).status, 1);
    const QByteArray cut = exampleFile.left(exampleFile.indexOf("-1\r\n"));
    const QString damaged = write(QStringLiteral("damaged.kwl"), cut);
    QCOMPARE(kwl({QStringLiteral("import"), table, QStringLiteral("--into"), damaged, QStringLiteral("--force")}).status, 4);
    QCOMPARE(read(damaged), cut);
    QCOMPARE(kwl({QStringLiteral("import"), write(QStringLiteral("names.csv"), "Name\r\nx\r\n"), QStringLiteral("--into"), target,
                  QStringLiteral("--force")}).status, 5);
}

// Every sample file of the fuzz corpus that reads completely goes out as CSV
// and back into a copy of itself emptied of its samples, and comes back the
// same. Only the slots before the first well and after the last, which no
// well name can reach, stay behind.
void TestTessarKwl::tableRoundTripOverCorpus()
{
    const QDir corpus(qEnvironmentVariable("TESSAR_SOURCE_DIR") + QStringLiteral("/fuzz/corpus"));
    int tried = 0;
    for (const QString &name : corpus.entryList({QStringLiteral("*.kwl")}, QDir::Files, QDir::Name)) {
        Tessar::State state;
        Tessar::applyFirstRunDefaults(state);
        Tessar::newDocument(state);
        state.filePath = corpus.filePath(name);
        const Tessar::ReadResult result = Tessar::ReadSampleFile(state);
        if (!result.ok())
            continue;
        ++tried;
        QJsonObject expected = Tessar::documentJson(state, QString::fromLatin1(Tessar::FileHeader));
        QJsonArray onPlate;
        for (const QJsonValue sample : expected[QStringLiteral("samples")].toArray()) {
            const int s = sample[QStringLiteral("s")].toInt();
            if (s >= 1 && s <= state.wellCount)
                onPlate.append(sample);
        }
        expected[QStringLiteral("samples")] = onPlate;

        Tessar::clearSamples(state);
        state.sampleTable.clear();
        const QString copy = write(QStringLiteral("copy-") + name, Tessar::sampleFileBytes(state));
        const QString csv = mDir.filePath(name + QStringLiteral(".csv"));
        QCOMPARE(kwl({QStringLiteral("export"), corpus.filePath(name), QStringLiteral("--to"), QStringLiteral("csv"), QStringLiteral("-o"), csv}).status, 0);
        // A sample file may give samples keys by names no key has; the table
        // says so, and they come back as written.
        const Run imported = kwl({QStringLiteral("import"), csv, QStringLiteral("--into"), copy, QStringLiteral("--force")});
        QCOMPARE(imported.status, 0);
        for (const QByteArray &problem : imported.err.split('\n'))
            QVERIFY2(problem.isEmpty() || problem.contains("matches no key name"), problem.constData());
        QCOMPARE(kwl({QStringLiteral("dump"), copy}).json(), expected);
    }
    QVERIFY(tried >= 10);
}

// Saving over a file others share keeps its owner, group, mode and links,
// even where the folder cannot take a new file.
void TestTessarKwl::resaveOverSharedFiles()
{
    const bool root = ::geteuid() == 0;
    if (root && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("running as root, and setpriv is missing to save as an ordinary user");
    const uid_t saver = root ? Someone : ::geteuid();
    const gid_t saverGroup = root ? Someone : ::getegid();
    QVERIFY(::chmod(QFile::encodeName(mDir.path()).constData(), 0755) == 0);
    const QString input = write(QStringLiteral("in.kwl"), exampleFile);
    QVERIFY(::chmod(QFile::encodeName(input).constData(), 0644) == 0);
    const QString cache = mDir.filePath(QStringLiteral("cache"));
    QDir().mkpath(cache);
    changeOwner(cache, saver, saverGroup);

    // A writable file in a folder the saver may not add files to.
    const QString locked = mDir.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    const QString inLocked = locked + QStringLiteral("/plate.kwl");
    QFile::copy(input, inLocked);
    ::chmod(QFile::encodeName(inLocked).constData(), 0666);
    changeOwner(inLocked, saver, saverGroup);
    changeOwner(locked, saver, saverGroup);
    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0555) == 0);
    const ino_t before = statOf(inLocked).st_ino;
    Run run = kwlAsUser({QStringLiteral("resave"), input, inLocked}, QString(), cache);
    QVERIFY2(run.status == 0, run.err.constData());
    QCOMPARE(statOf(inLocked).st_ino, before);
    QCOMPARE(statOf(inLocked).st_mode & 07777, mode_t(0666));
    QFile saved(inLocked);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray(exampleFile).replace("5.00", "5.1"));
    QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plate.kwl")});
    // The copy kept while writing in place goes once the file is saved.
    QVERIFY(QFileInfo::exists(cache + QStringLiteral("/Corvant/Tessar")));
    QCOMPARE(QDir(cache + QStringLiteral("/Corvant/Tessar")).entryList(QDir::Files), QStringList());
    ::chmod(QFile::encodeName(locked).constData(), 0755);

    // Someone else's file, shared through a group the saver is in: it stays
    // theirs and the group's.
    if (!root)
        QSKIP("only root can make a file owned by someone else for this user to save over");
    const gid_t lab = 4242;
    const QString shared = mDir.filePath(QStringLiteral("shared"));
    QDir().mkpath(shared);
    QVERIFY(::chmod(QFile::encodeName(shared).constData(), 0777) == 0);
    const QString inShared = shared + QStringLiteral("/plate.kwl");
    QFile::copy(input, inShared);
    changeOwner(inShared, 12345, lab);
    ::chmod(QFile::encodeName(inShared).constData(), 0664);
    run = kwlAsUser({QStringLiteral("resave"), input, inShared}, QString::number(lab), cache);
    QVERIFY2(run.status == 0, run.err.constData());
    const struct stat after = statOf(inShared);
    QCOMPARE(after.st_uid, uid_t(12345));
    QCOMPARE(after.st_gid, lab);
    QCOMPARE(after.st_mode & 07777, mode_t(0664));
    QCOMPARE(after.st_size, qint64(exampleFile.size()) - 1);   // "5.00" became "5.1"
}

QTEST_GUILESS_MAIN(TestTessarKwl)
#include "tst_tessarkwl.moc"

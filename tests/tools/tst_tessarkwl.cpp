#include "core/document.h"
#include "core/samplefile.h"
#include "core/state.h"
#include "core/tableexport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

Run kwl(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(TESSAR_KWL), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestTessarKwl : public QObject
{
    Q_OBJECT

private slots:
    void dump();
    void resaveAndCheck();
    void exportTables();
    void importTables();
    void tableRoundTripOverCorpus();

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

QTEST_GUILESS_MAIN(TestTessarKwl)
#include "tst_tessarkwl.moc"

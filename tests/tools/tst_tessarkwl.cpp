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
};

Run kwl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TESSAR_KWL), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestTessarKwl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dumpsAWholeFile();
    void reportsWhereAReadStopped();
    void resaveWritesWhatWasRead();
    void checksManyFiles();
    void usage();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir mDir;
};

QString TestTessarKwl::write(const QString &name, const QByteArray &bytes)
{
    const QString path = mDir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

void TestTessarKwl::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY(QFile::exists(QStringLiteral(TESSAR_KWL)));
}

void TestTessarKwl::dumpsAWholeFile()
{
    const Run run = kwl({QStringLiteral("dump"), write(QStringLiteral("a.kwl"), exampleFile)});
    QCOMPARE(run.status, 0);
    QVERIFY(run.err.isEmpty());
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(doc[QStringLiteral("header")].toString(), QStringLiteral("Corvant Tessar Version 5.00"));
    QCOMPARE(doc[QStringLiteral("numField")].toInt(), 3);
    QCOMPARE(doc[QStringLiteral("wellCount")].toInt(), 24);
    QCOMPARE(doc[QStringLiteral("fieldName")].toArray().size(), 3);
    QCOMPARE(doc[QStringLiteral("keyColor")].toArray().first().toInteger(), -2147483632);
    QCOMPARE(doc[QStringLiteral("keyName")].toArray().size(), 7);
    const QJsonArray samples = doc[QStringLiteral("samples")].toArray();
    QCOMPARE(samples.size(), 1);
    const QJsonObject sample = samples.first().toObject();
    QCOMPARE(sample[QStringLiteral("s")].toInt(), 2);
    QCOMPARE(sample[QStringLiteral("well")].toString(), QStringLiteral("A2"));
    QCOMPARE(sample[QStringLiteral("fields")].toArray().at(1).toString(), QStringLiteral("S-01"));
}

void TestTessarKwl::reportsWhereAReadStopped()
{
    const QString cut = write(QStringLiteral("cut.kwl"), exampleFile.left(exampleFile.indexOf("\"Blank\"\r\n\"S-01\"")));
    Run run = kwl({QStringLiteral("dump"), cut});
    QCOMPARE(run.status, 4);
    QCOMPARE(run.err.trimmed(), (cut + QStringLiteral(":24: file ends where a sample field should be")).toUtf8());
    // What was read is still printed: the configuration, not the cut sample.
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(doc[QStringLiteral("company")].toString(), QStringLiteral("HALV"));

    run = kwl({QStringLiteral("dump"), write(QStringLiteral("notes.txt"), "shopping list\n")});
    QCOMPARE(run.status, 3);
    // A fresh document with first-run defaults, not the user's settings.
    QCOMPARE(QJsonDocument::fromJson(run.out).object()[QStringLiteral("wellCount")].toInt(), 96);

    run = kwl({QStringLiteral("dump"), mDir.filePath(QStringLiteral("missing.kwl"))});
    QCOMPARE(run.status, 1);
}

void TestTessarKwl::resaveWritesWhatWasRead()
{
    const QString out = mDir.filePath(QStringLiteral("out.kwl"));
    Run run = kwl({QStringLiteral("resave"), write(QStringLiteral("b.kwl"), exampleFile), out});
    QCOMPARE(run.status, 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray expected = exampleFile;
    expected.replace("5.00", "5.1");
    QCOMPARE(file.readAll(), expected);
    file.close();

    const QString cut = write(QStringLiteral("cut2.kwl"), exampleFile.left(exampleFile.indexOf("-2147483632")));
    run = kwl({QStringLiteral("resave"), cut, out});
    QCOMPARE(run.status, 4);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray partial = file.readAll();
    QVERIFY(partial.startsWith("\"Corvant Tessar Version 5.1\"\r\n\"Run 7\"\r\n3\r\n\"HALV\"\r\n24\r\n"));
    QVERIFY(partial.endsWith("\r\n-1\r\n"));
}

void TestTessarKwl::checksManyFiles()
{
    const QString good = write(QStringLiteral("good.kwl"), exampleFile);
    QCOMPARE(kwl({QStringLiteral("check"), good, good}).status, 0);

    QByteArray bad = exampleFile;
    bad.replace("\r\n24\r\n", "\r\n25\r\n");
    const Run run = kwl({QStringLiteral("check"), good, write(QStringLiteral("bad.kwl"), bad)});
    QVERIFY(run.status != 0);
    QVERIFY(run.out.contains("good.kwl: ok"));
    QVERIFY(run.err.contains("bad.kwl:5: plate format 25"));
}

void TestTessarKwl::usage()
{
    QCOMPARE(kwl({}).status, 2);
    QCOMPARE(kwl({QStringLiteral("dump")}).status, 2);
    QCOMPARE(kwl({QStringLiteral("frobnicate"), QStringLiteral("x")}).status, 2);
    const Run version = kwl({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.contains("5.1.3"));
    QVERIFY(kwl({QStringLiteral("--help")}).out.contains("resave IN OUT"));
}

QTEST_GUILESS_MAIN(TestTessarKwl)
#include "tst_tessarkwl.moc"

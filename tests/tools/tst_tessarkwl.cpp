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
    void dump();
    void resaveAndCheck();

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(mDir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
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

QTEST_GUILESS_MAIN(TestTessarKwl)
#include "tst_tessarkwl.moc"

#include "coretest.h"
#include "readcheck.h"

#include "core/plate/plategeometry.h"
#include "core/files/samplefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Tessar;

namespace {

const QByteArray exampleFile =
    "\"Corvant Tessar Version 5.1\"\r\n\"Run 7\"\r\n3\r\n\"HALV\"\r\n24\r\n"
    "\"Key\"\r\n\"Sample ID\"\r\n\"Conc\"\r\n"
    "-2147483632\r\n16711680\r\n65280\r\n16776960\r\n255\r\n16711935\r\n65535\r\n"
    "\"\"\r\n\"Blank\"\r\n\"Std\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
    "2\r\n\"Blank\"\r\n\"S-01\"\r\n\"\"\r\n-1\r\n";

} // namespace

// The plate's layout and the sample file: what every later step relies on,
// whatever a file held.
class TestSampleFile : public QObject
{
    Q_OBJECT

private slots:
    void wellCentres()
    {
        // The first well, the last of row A (top of the plate picture) and the
        // last well of every format. Exact comparison on purpose: these are the
        // single-precision figures the layout has always produced.
        const struct { int format, sample; float x, y, radius; } wells[] = {
            {24, 1, 14.1f, 16.25f, 5.0f},   {24, 6, 14.1f, 111.5f, 5.0f},     {24, 24, 71.25f, 111.5f, 5.0f},
            {48, 8, 8.75f, 104.0f, 3.0f},   {48, 48, 76.25f, 104.0f, 3.0f},   {96, 1, 9.0f, 12.0f, 3.0f},
            {96, 13, 18.0f, 12.0f, 3.0f},   {96, 96, 72.0f, 111.0f, 3.0f},    {384, 24, 9.0f, 115.5f, 1.5f},
            {384, 25, 13.5f, 12.0f, 1.5f},  {384, 384, 76.5f, 115.5f, 1.5f}, {1536, 1536, 78.75f, 117.75f, 0.75f},
        };
        for (const auto &w : wells) {
            State state;
            QVERIFY(spotcoords(state, w.format));
            QCOMPARE(QList<float>({state.spotX.at(w.sample), state.spotY.at(w.sample), state.spotRad}), QList<float>({w.x, w.y, w.radius}));
        }
    }

    void wellNamesAndHits()
    {
        State state;
        spotcoords(state, 384);
        QCOMPARE(spotname(state, 24).toString() + spotname(state, 25).toString() + spotname(state, 384).toString(), "A 24B 1P 24");
        spotcoords(state, 1536);   // rows past Z go on through the characters after it
        QCOMPARE(spotname(state, 1536).letter, QChar(u'`'));

        spotcoords(state, 96);
        state.wellCount = 96;
        QCOMPARE(spotat(state, 18.0f + 2.9f, 12.0f), 13);
        QCOMPARE(spotat(state, 18.0f + 3.0f, 12.0f), 0);   // on the ring is outside
        for (int format : {24, 48, 384, 1536}) {
            spotcoords(state, format);
            state.wellCount = format;
            for (int s = 1; s <= format; ++s) {
                if (spotat(state, state.spotX[s], state.spotY[s]) != s)
                    QFAIL(qPrintable(QStringLiteral("centre of %1 in %2").arg(s).arg(format)));
            }
        }
    }

    void tableBoundsAndData()
    {
        // Laying out again empties the table, also for the same format; an
        // unknown format changes nothing.
        State state = newPlate();
        state.sampleTable(5, 1) = QStringLiteral("x");
        spotcoords(state, 96);
        QVERIFY(state.sampleTable(5, 1).isEmpty());
        state.sampleTable(3, 0) = QStringLiteral("kept");
        QVERIFY(!spotcoords(state, 100));
        QCOMPARE(state.nCols, 12);
        QCOMPARE(state.sampleTable(3, 0), QStringLiteral("kept"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.sampleTable(107, 0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.sampleTable(1, 21));

        // Only the rows in use count as data; New empties one slot past them too.
        state.sampleTable(1, 5) = QStringLiteral("beyond the rows in use");
        QVERIFY(!SampleHasData(state, 1));
        QVERIFY(SampleHasData(state, 3));
        QVERIFY(!SampleHasData(state, 5000));
        state.sampleTable(2, 6) = QStringLiteral("beyond");
        clearSamples(state);
        QVERIFY(state.sampleTable(3, 0).isEmpty() && state.sampleTable(1, 5).isEmpty());
        QCOMPARE(state.sampleTable(2, 6), QStringLiteral("beyond"));

        // A document started for a format nobody can lay out gets the default plate.
        state.wellCount = 500;
        newDocument(state);
        QCOMPARE(state.wellCount, 96);
    }

    void exampleRoundTrip()
    {
        QCOMPARE(sampleFileBytes(exampleDocument()), exampleFile);
        State state = newPlate();
        state.sampleTable(50, 1) = QStringLiteral("left over");
        QVERIFY(readSampleData(state, exampleFile).ok());
        QCOMPARE(state.keyColor[0], ButtonShadowColour);
        QVERIFY(state.sampleTable(50, 1).isEmpty());
        QCOMPARE(sampleFileBytes(state), exampleFile);

        // Leading blanks go; a quoted value ends at its quote and the rest of
        // the line up to a comma is skipped; a bare value ends at a comma and
        // loses trailing blanks; bare LF line ends are read too.
        const QByteArray loose =
            "  \"Corvant Tessar Version 5.1\"  trailing words\r\n"
            "Run 7   \n3 rows\r\n\"HALV\",24\r\nKey,\"Sample ID\" ignored,Conc\r\n"
            "-2147483632,16711680,65280,16776960,255,16711935,65535\r\n"
            "\"\",Blank,Std,,,,\n2\r\n\"Blank\"\r\n\"S-01\"\r\n\"\"\r\n-1";
        QVERIFY(readSampleData(state, loose).ok());
        QCOMPARE(sampleFileBytes(state), exampleFile);

        // Old Mac line ends, down to a last line ending in a lone CR.
        QByteArray mac = exampleFile;
        mac.replace("\r\n", "\r");
        QVERIFY(readSampleData(state, mac).ok());
        QCOMPARE(readSampleData(state, mac.left(mac.indexOf("\"S-01\"\r") + 7)).status, ReadResult::Failed);
    }

    void brokenFilesAtEveryLine()
    {
        State source = exampleDocument();
        source.sampleTable(7, 2) = QStringLiteral("0.5 mg");
        const QByteArray whole = sampleFileBytes(source);
        const QList<QByteArray> lines = whole.split('\n');

        // The first `keep` lines, then half of the next one as well.
        qsizetype end = 0;
        for (int keep = 1; keep < lines.size() - 1; ++keep) {
            end = whole.indexOf('\n', end) + 1;
            const QByteArray cut = whole.left(end);
            for (const QByteArray &variant : {cut, cut + lines[keep].left(lines[keep].size() / 2)}) {
                State state = newPlate(384);
                state.topSample = 300;
                const ReadResult result = readSampleData(state, variant);
                QCOMPARE(result.status, ReadResult::Failed);
                QVERIFY(result.line >= keep && result.line <= keep + 1 && !result.reason.isEmpty());
                QCOMPARE(invariantProblems(state), QStringList());
                // Everything before the fault has arrived.
                QVERIFY(keep < 2 || state.fileDesc == QStringLiteral("Run 7"));
                QVERIFY(keep < 5 || state.wellCount == 24);
                QVERIFY(keep < 27 || state.sampleTable(2, 1) == QStringLiteral("S-01"));
            }
        }

        // Damage in the middle: the samples before it stay, the ones after do not.
        QByteArray damaged = whole;
        damaged.replace("7\r\n\"\"\r\n\"\"\r\n\"0.5 mg\"", "seven\r\n\"\"\r\n\"\"\r\n\"0.5 mg\"");
        State state = newPlate();
        QCOMPARE(readSampleData(state, damaged).line, 27);
        QCOMPARE(state.sampleTable(2, 1), QStringLiteral("S-01"));
        QVERIFY(!SampleHasData(state, 7));
    }

    void valuesTheDocumentCannotHold_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("line");
        QTest::newRow("11 rows") << QByteArray("\r\n3\r\n") << QByteArray("\r\n11\r\n") << 3;
        QTest::newRow("3.5 rows") << QByteArray("\r\n3\r\n") << QByteArray("\r\n3.5\r\n") << 3;
        QTest::newRow("70000 wells") << QByteArray("\r\n24\r\n") << QByteArray("\r\n70000\r\n") << 5;
        QTest::newRow("colour past 32 bits") << QByteArray("\r\n65280\r\n") << QByteArray("\r\n4294967296\r\n") << 11;
        QTest::newRow("past the table") << QByteArray("\r\n2\r\n\"Blank\"") << QByteArray("\r\n101\r\n\"Blank\"") << 23;
        QTest::newRow("far past it") << QByteArray("\r\n2\r\n\"Blank\"") << QByteArray("\r\n30000\r\n\"Blank\"") << 23;
    }

    void valuesTheDocumentCannotHold()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, line);
        State state = newPlate(384);
        state.curRow = 4;   // the last of five rows; the file has three
        const ReadResult result = readSampleData(state, QByteArray(exampleFile).replace(from, to));
        QCOMPARE(result.status, ReadResult::Failed);
        QCOMPARE(result.line, line);
        QCOMPARE(invariantProblems(state), QStringList());
        QCOMPARE(state.numField, line <= 3 ? 5.0f : 3.0f);
        QCOMPARE(state.wellCount, line <= 5 ? 384 : 24);
    }

    // A sample numbered past the plate's wells but inside its table is kept,
    // the samples after it are read on, and saving writes it back.
    void samplesPastTheLastWell()
    {
        const QByteArray sample50 = "50\r\n\"\"\r\n\"far\"\r\n\"\"\r\n";
        const QByteArray sample3 = "3\r\n\"\"\r\n\"after\"\r\n\"\"\r\n";
        const QByteArray sample0 = "0\r\n\"\"\r\n\"zero\"\r\n\"\"\r\n";   // slot 0 is a slot like any other
        QByteArray data = exampleFile;
        data.insert(data.lastIndexOf("-1\r\n"), sample50 + sample3 + sample0);
        State state = newPlate();
        QVERIFY(readSampleData(state, data).ok());
        QCOMPARE(state.sampleTable(50, 1) + state.sampleTable(3, 1) + state.sampleTable(0, 1), "farafterzero");
        const QByteArray saved = sampleFileBytes(state);
        QVERIFY(saved.endsWith(sample3 + sample50 + "-1\r\n"));   // written in slot order
        QVERIFY(readSampleData(state, saved).ok());
        QCOMPARE(sampleFileBytes(state), saved);

        // On a 96-well plate the table runs to 106: 106 is kept, 107 ends the read.
        data.replace("\r\n24\r\n", "\r\n96\r\n");
        data.replace(sample50, "106" + sample50.mid(2));
        QVERIFY(readSampleData(state, data).ok());
        QCOMPARE(state.sampleTable(106, 1), QStringLiteral("far"));
        const ReadResult beyond = readSampleData(state, data.replace("106\r\n", "107\r\n"));
        QCOMPARE(beyond.status, ReadResult::Failed);
        QCOMPARE(beyond.reason, QStringLiteral("sample 107 is beyond slot 106, the last of a 96-well plate"));
        QVERIFY(!SampleHasData(state, 3));
    }

    void textsTheFormatCannotHold()
    {
        State state = newPlate();
        state.fileDesc = QStringLiteral("5\" disc");                 // a quote would end the value
        state.company = QStringLiteral("Labor M\u00fcller \u20ac");  // fits the code page
        state.sampleTable(4, 1) = QStringLiteral("line\r\nbreak");
        state.sampleTable(4, 2) = QStringLiteral("\u6f22 \U0001F600");
        int changed = 0;
        const QByteArray bytes = sampleFileBytes(state, &changed);
        QCOMPARE(changed, 3);
        QVERIFY(bytes.contains("\"5' disc\"\r\n") && bytes.contains("\"Labor M\xfcller \x80\"\r\n"));
        QVERIFY(bytes.contains("\"line  break\"\r\n\"? ?\"\r\n"));
        QVERIFY(readSampleData(state, bytes).ok());
        QCOMPARE(state.company, QStringLiteral("Labor M\u00fcller \u20ac"));
        QCOMPARE(sampleFileBytes(state), bytes);
    }

    void filesOnDisk()
    {
        QTemporaryDir dir;
        State state = exampleDocument();
        state.filePath = dir.filePath(QStringLiteral("run7.kwl"));
        QFile file(state.filePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100000, 'x'));   // a longer file is replaced, not overwritten
        file.close();
        QVERIFY(WriteSampleFile(state).ok);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), exampleFile);

        state.filePath = dir.filePath(QStringLiteral("no such folder/run7.kwl"));
        const WriteResult failed = WriteSampleFile(state);
        QVERIFY(!failed.ok && !failed.error.isEmpty());
        // A file that cannot be opened empties the document, keeping the keys.
        const ReadResult missing = ReadSampleFile(state);
        QCOMPARE(missing.status, ReadResult::Failed);
        QCOMPARE(missing.line, 0);
        QVERIFY(!SampleHasData(state, 2));
        QCOMPARE(state.keyName[1], QStringLiteral("Blank"));
    }
};

QTEST_APPLESS_MAIN(TestSampleFile)
#include "tst_samplefile.moc"

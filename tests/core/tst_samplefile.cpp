#include "core/document.h"
#include "core/plategeometry.h"
#include "core/samplefile.h"
#include "core/state.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Tessar;

namespace {

const QByteArray exampleFile =
    "\"Corvant Tessar Version 5.1\"\r\n\"Run 7\"\r\n3\r\n\"HALV\"\r\n24\r\n"
    "\"Key\"\r\n\"Sample ID\"\r\n\"Conc\"\r\n"
    "-2147483632\r\n16711680\r\n65280\r\n16776960\r\n255\r\n16711935\r\n65535\r\n"
    "\"\"\r\n\"Blank\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
    "2\r\n\"Blank\"\r\n\"S-01\"\r\n\"\"\r\n-1\r\n";

State freshState(int wells = 96)
{
    State state;
    applyFirstRunDefaults(state);
    state.wellCount = wells;
    newDocument(state);
    return state;
}

State exampleDocument()
{
    State state = freshState(24);
    state.numField = 3;
    state.fileDesc = QStringLiteral("Run 7");
    state.fieldName[1] = QStringLiteral("Sample ID");
    state.fieldName[2] = QStringLiteral("Conc");
    state.keyName[1] = QStringLiteral("Blank");
    state.sampleTable(2, 0) = QStringLiteral("Blank");
    state.sampleTable(2, 1) = QStringLiteral("S-01");
    return state;
}

// What every later step relies on, whatever a file held.
void checkInvariants(const State &state)
{
    QVERIFY(isPlateFormat(state.wellCount));
    QCOMPARE(state.nRows * state.nCols, state.wellCount);
    QCOMPARE(state.sampleTable.lastSample(), plateFormat(state.wellCount)->lastSample);
    QCOMPARE(state.numField, float(state.fieldCount()));
    QVERIFY(state.topSample >= 1 && state.topSample <= state.wellCount);
    QVERIFY(state.curRow >= 0 && state.curRow < state.fieldCount());
}
} // namespace

class TestSampleFile : public QObject
{
    Q_OBJECT

private slots:
    void exampleRoundTrip();
    void valueRules();
    void brokenFilesAtEveryLine();
    void valuesTheDocumentCannotHold();
    void samplesPastTheLastWell();
    void textsTheFormatCannotHold();
    void filesOnDisk();
};

void TestSampleFile::exampleRoundTrip()
{
    QCOMPARE(sampleFileBytes(exampleDocument()), exampleFile);

    State state = freshState();
    state.sampleTable(50, 1) = QStringLiteral("left over");
    QVERIFY(readSampleData(state, exampleFile).ok());
    QCOMPARE(state.wellCount, 24);
    QCOMPARE(state.numField, 3.0f);
    QCOMPARE(state.keyColor[0], ButtonShadowColour);
    QCOMPARE(state.sampleTable(2, 1), QStringLiteral("S-01"));
    QVERIFY(state.sampleTable(50, 1).isEmpty());
    QCOMPARE(sampleFileBytes(state), exampleFile);
}

void TestSampleFile::valueRules()
{
    // Leading blanks go; a quoted value ends at its quote and the rest of
    // the line up to a comma is skipped; a bare value ends at a comma and
    // loses trailing blanks; bare LF line ends are read too.
    const QByteArray data =
        "  \"Corvant Tessar Version 5.1\"  trailing words\r\n"
        "Run 7   \n3 rows\r\n\"HALV\",24\r\nKey,\"Sample ID\" ignored,Conc\r\n"
        "-2147483632,16711680,65280,16776960,255,16711935,65535\r\n"
        "\"\",Blank,,,,,\n2\r\n\"Blank\"\r\n\"S-01\"\r\n\"\"\r\n-1";
    State state = freshState();
    const ReadResult result = readSampleData(state, data);
    QVERIFY2(result.ok(), qPrintable(result.reason));
    QCOMPARE(sampleFileBytes(state), exampleFile);

    // Old Mac line ends, down to a last line ending in a lone CR.
    QByteArray mac = exampleFile;
    mac.replace("\r\n", "\r");
    QVERIFY(readSampleData(state, mac).ok());
    QCOMPARE(readSampleData(state, mac.left(mac.indexOf("\"S-01\"\r") + 7)).status, ReadResult::Failed);
}

void TestSampleFile::brokenFilesAtEveryLine()
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
            State state = freshState(384);
            state.topSample = 300;
            const ReadResult result = readSampleData(state, variant);
            QCOMPARE(result.status, ReadResult::Failed);
            QVERIFY(result.line >= keep && result.line <= keep + 1);
            QVERIFY(!result.reason.isEmpty());
            checkInvariants(state);
            // Everything before the fault has arrived.
            if (keep >= 2)
                QCOMPARE(state.fileDesc, QStringLiteral("Run 7"));
            if (keep >= 5)
                QCOMPARE(state.wellCount, 24);
            if (keep >= 27)
                QCOMPARE(state.sampleTable(2, 1), QStringLiteral("S-01"));
        }
    }

    // Damage in the middle: the samples before it stay, the ones after do not.
    QByteArray damaged = whole;
    damaged.replace("7\r\n\"\"\r\n\"\"\r\n\"0.5 mg\"", "seven\r\n\"\"\r\n\"\"\r\n\"0.5 mg\"");
    State state = freshState();
    QCOMPARE(readSampleData(state, damaged).line, 27);
    QCOMPARE(state.sampleTable(2, 1), QStringLiteral("S-01"));
    QVERIFY(!SampleHasData(state, 7));
}

void TestSampleFile::valuesTheDocumentCannotHold()
{
    const struct { const char *from, *to; int line; } cases[] = {
        {"\r\n3\r\n", "\r\n11\r\n", 3},
        {"\r\n3\r\n", "\r\n3.5\r\n", 3},
        {"\r\n24\r\n", "\r\n70000\r\n", 5},
        {"\r\n65280\r\n", "\r\n4294967296\r\n", 11},
        {"\r\n2\r\n\"Blank\"", "\r\n101\r\n\"Blank\"", 23},   // the 24-well table ends at 100
        {"\r\n2\r\n\"Blank\"", "\r\n30000\r\n\"Blank\"", 23},
    };
    for (const auto &c : cases) {
        QByteArray data = exampleFile;
        data.replace(data.indexOf(c.from), qsizetype(strlen(c.from)), c.to);
        State state = freshState(384);
        state.curRow = 4;   // the last of five rows; the file has three
        const ReadResult result = readSampleData(state, data);
        QVERIFY2(result.status == ReadResult::Failed && result.line == c.line, c.to);
        checkInvariants(state);
        QCOMPARE(state.numField, c.line <= 3 ? 5.0f : 3.0f);
        QCOMPARE(state.wellCount, c.line <= 5 ? 384 : 24);
    }
}

// A sample numbered past the plate's wells but inside its table is kept,
// the samples after it are read on, and saving writes it back.
void TestSampleFile::samplesPastTheLastWell()
{
    const QByteArray sample50 = "50\r\n\"\"\r\n\"far\"\r\n\"\"\r\n";
    const QByteArray sample3 = "3\r\n\"\"\r\n\"after\"\r\n\"\"\r\n";
    QByteArray data = exampleFile;
    data.insert(data.lastIndexOf("-1\r\n"), sample50 + sample3);
    State state = freshState();
    QVERIFY(readSampleData(state, data).ok());
    QCOMPARE(state.sampleTable(50, 1), QStringLiteral("far"));
    QCOMPARE(state.sampleTable(3, 1), QStringLiteral("after"));
    const QByteArray saved = sampleFileBytes(state);
    QVERIFY(saved.endsWith(sample3 + sample50 + "-1\r\n"));   // written in slot order
    QVERIFY(readSampleData(state, saved).ok());
    QCOMPARE(sampleFileBytes(state), saved);

    // On a 96-well plate the table runs to 106: 98 is kept, 107 ends the read.
    data.replace("\r\n24\r\n", "\r\n96\r\n");
    data.replace(sample50, "98" + sample50.mid(2));
    QVERIFY(readSampleData(state, data).ok());
    QCOMPARE(state.sampleTable(98, 1), QStringLiteral("far"));
    data.replace("98\r\n", "107\r\n");
    const ReadResult beyond = readSampleData(state, data);
    QCOMPARE(beyond.status, ReadResult::Failed);
    QCOMPARE(beyond.reason, QStringLiteral("sample 107 is beyond slot 106, the last of a 96-well plate"));
    QVERIFY(!SampleHasData(state, 3));
}

void TestSampleFile::textsTheFormatCannotHold()
{
    State state = freshState();
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

void TestSampleFile::filesOnDisk()
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

QTEST_APPLESS_MAIN(TestSampleFile)
#include "tst_samplefile.moc"

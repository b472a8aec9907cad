#include "core/document.h"
#include "core/plategeometry.h"
#include "core/samplefile.h"
#include "core/state.h"

#include <QFile>
#include <QRandomGenerator>
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

// The invariants every later step relies on, whatever a file held.
void checkInvariants(const State &state)
{
    QVERIFY(isPlateFormat(state.wellCount));
    QCOMPARE(state.nRows * state.nCols, state.wellCount);
    QCOMPARE(state.sampleTable.lastSample(), plateFormat(state.wellCount)->lastSample);
    QCOMPARE(state.numField, float(state.fieldCount()));
    QVERIFY(state.fieldCount() >= 2 && state.fieldCount() <= 10);
    QVERIFY(state.topSample >= 1 && state.topSample <= state.wellCount);
    QVERIFY(state.curRow >= 0 && state.curRow < state.fieldCount());
}

QList<QByteArray> linesOf(const QByteArray &data)
{
    QList<QByteArray> lines = data.split('\n');
    lines.removeLast();
    return lines;
}

} // namespace

class TestSampleFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheExampleByteForByte();
    void readsTheExampleBack();
    void olderHeaderReadsTheSame();
    void unrecognisedHeaderKeepsConfiguration();
    void emptyDocument();
    void spareSlotsReadBack();
    void fileOfAnotherFormatIsLaidOut();
    void valueRules();
    void brokenFilesAtEveryLine();
    void valuesTheDocumentCannotHold_data();
    void valuesTheDocumentCannotHold();
    void textsTheFormatCannotHold();
    void fullPlateIsAFixedPoint();
    void savingReplacesTheFile();
    void missingFileEmptiesTheDocument();
};

void TestSampleFile::writesTheExampleByteForByte()
{
    const State state = exampleDocument();
    const QByteArray bytes = sampleFileBytes(state);
    QCOMPARE(bytes, exampleFile);
    QCOMPARE(linesOf(bytes).size(), 27);
}

void TestSampleFile::readsTheExampleBack()
{
    State state = freshState();
    state.sampleTable(50, 1) = QStringLiteral("left over");
    const ReadResult result = readSampleData(state, exampleFile);
    QVERIFY(result.ok());
    QCOMPARE(result.header, QStringLiteral("Corvant Tessar Version 5.1"));
    QCOMPARE(state.wellCount, 24);
    QCOMPARE(state.nCols, 6);
    QCOMPARE(state.numField, 3.0f);
    QCOMPARE(state.fileDesc, QStringLiteral("Run 7"));
    QCOMPARE(state.company, QStringLiteral("HALV"));
    QCOMPARE(state.fieldName[2], QStringLiteral("Conc"));
    QCOMPARE(state.keyColor[0], ButtonShadowColour);
    QCOMPARE(state.keyName[1], QStringLiteral("Blank"));
    QCOMPARE(state.sampleTable(2, 1), QStringLiteral("S-01"));
    QVERIFY(state.sampleTable(50, 1).isEmpty());
    QCOMPARE(sampleFileBytes(state), exampleFile);
    checkInvariants(state);
}

void TestSampleFile::olderHeaderReadsTheSame()
{
    QByteArray older = exampleFile;
    older.replace("Version 5.1", "Version 5.00");
    State state = freshState();
    QVERIFY(readSampleData(state, older).ok());
    // Saved again, it carries the current header.
    QCOMPARE(sampleFileBytes(state), exampleFile);

    // The comparison is exact.
    QByteArray other = exampleFile;
    other.replace("Version 5.1", "version 5.1");
    QCOMPARE(readSampleData(state, other).status, ReadResult::Unrecognised);
}

void TestSampleFile::unrecognisedHeaderKeepsConfiguration()
{
    State state = exampleDocument();
    const ReadResult result = readSampleData(state, "Sample list\r\n\"x\"\r\n");
    QCOMPARE(result.status, ReadResult::Unrecognised);
    QCOMPARE(result.header, QStringLiteral("Sample list"));
    QVERIFY(!SampleHasData(state, 2));
    QCOMPARE(state.fileDesc, QStringLiteral("Run 7"));
    QCOMPARE(state.numField, 3.0f);
    QCOMPARE(state.wellCount, 24);
    QCOMPARE(state.keyName[1], QStringLiteral("Blank"));

    QCOMPARE(readSampleData(state, QByteArray()).status, ReadResult::Failed);
    checkInvariants(state);
}

void TestSampleFile::emptyDocument()
{
    State state = freshState();
    const QByteArray bytes = sampleFileBytes(state);
    QCOMPARE(linesOf(bytes).size(), 5 + 5 + 14 + 1);
    QVERIFY(bytes.endsWith("\"\"\r\n-1\r\n"));
    State back = freshState(384);
    QVERIFY(readSampleData(back, bytes).ok());
    QCOMPARE(back.wellCount, 96);
    QCOMPARE(back.fieldName[4], QStringLiteral("description5"));
}

void TestSampleFile::spareSlotsReadBack()
{
    // Text typed into a frame past the last well is saved with the plate;
    // what is saved must open again.
    State state = exampleDocument();
    state.sampleTable(25, 1) = QStringLiteral("past the last well");
    state.sampleTable(26, 1) = QStringLiteral("not saved");
    const QByteArray bytes = sampleFileBytes(state);
    QVERIFY(!bytes.contains("not saved"));
    State back = freshState();
    QVERIFY(readSampleData(back, bytes).ok());
    QCOMPARE(back.sampleTable(25, 1), QStringLiteral("past the last well"));
    QCOMPARE(sampleFileBytes(back), bytes);
}

void TestSampleFile::fileOfAnotherFormatIsLaidOut()
{
    // A 1536-well file opened while a 24-well plate is up must not write
    // past the smaller table; the scroll position comes back onto the plate.
    State big = freshState(1536);
    big.sampleTable(1536, 0) = QStringLiteral("last");
    big.sampleTable(700, 4) = QStringLiteral("middle");
    const QByteArray bytes = sampleFileBytes(big);

    State state = freshState(24);
    QVERIFY(readSampleData(state, bytes).ok());
    QCOMPARE(state.wellCount, 1536);
    QCOMPARE(state.nRows, 32);
    QCOMPARE(state.sampleTable(1536, 0), QStringLiteral("last"));

    state.topSample = 1500;
    QVERIFY(readSampleData(state, exampleFile).ok());
    QCOMPARE(state.wellCount, 24);
    QCOMPARE(state.spotX.size(), std::size_t(101));
    checkInvariants(state);
}

void TestSampleFile::valueRules()
{
    // Leading blanks go; a quoted value ends at its quote and the rest of
    // the line up to a comma is skipped; a bare value ends at a comma and
    // loses trailing blanks; bare LF line ends are read too.
    const QByteArray data =
        "  \"Corvant Tessar Version 5.1\"  trailing words\r\n"
        "Run 7   \n"
        "3 rows\r\n"
        "\"HALV\",24\r\n"
        "Key,\"Sample ID\" ignored,Conc\r\n"
        "-2147483632,16711680,65280,16776960,255,16711935,65535\r\n"
        "\"\",Blank,,,,,\n"
        "2\r\n\"Blank\"\r\n\"S-01\"\r\n\"\"\r\n-1";
    State state = freshState();
    const ReadResult result = readSampleData(state, data);
    QVERIFY2(result.ok(), qPrintable(result.reason));
    QCOMPARE(sampleFileBytes(state), exampleFile);

    // The program's own header line is quoted, but a bare one reads the same.
    QByteArray bare = exampleFile;
    bare.replace("\"Corvant Tessar Version 5.1\"", "Corvant Tessar Version 5.1");
    QVERIFY(readSampleData(state, bare).ok());

    // Old Mac line ends, down to a last line ending in a lone CR.
    QByteArray mac = exampleFile;
    mac.replace("\r\n", "\r");
    QVERIFY(readSampleData(state, mac).ok());
    QVERIFY(readSampleData(state, mac.left(mac.indexOf("\"S-01\"\r") + 7)).status == ReadResult::Failed);
}

void TestSampleFile::brokenFilesAtEveryLine()
{
    State source = exampleDocument();
    source.sampleTable(7, 2) = QStringLiteral("0.5 mg");
    const QByteArray whole = sampleFileBytes(source);
    const QList<QByteArray> lines = linesOf(whole);

    for (int keep = 1; keep < lines.size(); ++keep) {
        QByteArray cut;
        for (int i = 0; i < keep; ++i)
            cut += lines[i] + '\n';
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
    const ReadResult result = readSampleData(state, damaged);
    QCOMPARE(result.status, ReadResult::Failed);
    QCOMPARE(result.line, 27);
    QCOMPARE(state.sampleTable(2, 1), QStringLiteral("S-01"));
    QVERIFY(!SampleHasData(state, 7));
}

void TestSampleFile::valuesTheDocumentCannotHold_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<int>("line");

    QTest::newRow("eleven rows") << QByteArray("\r\n3\r\n") << QByteArray("\r\n11\r\n") << 3;
    QTest::newRow("one row") << QByteArray("\r\n3\r\n") << QByteArray("\r\n1\r\n") << 3;
    QTest::newRow("fraction of a row") << QByteArray("\r\n3\r\n") << QByteArray("\r\n3.5\r\n") << 3;
    QTest::newRow("no number of rows") << QByteArray("\r\n3\r\n") << QByteArray("\r\nthree\r\n") << 3;
    QTest::newRow("unknown plate") << QByteArray("\r\n24\r\n") << QByteArray("\r\n100\r\n") << 5;
    QTest::newRow("plate beyond 16 bits") << QByteArray("\r\n24\r\n") << QByteArray("\r\n70000\r\n") << 5;
    QTest::newRow("colour as a word") << QByteArray("\r\n65280\r\n") << QByteArray("\r\ngreen\r\n") << 11;
    QTest::newRow("colour beyond 32 bits") << QByteArray("\r\n65280\r\n") << QByteArray("\r\n4294967296\r\n") << 11;
    QTest::newRow("sample past the plate") << QByteArray("\r\n2\r\n\"Blank\"") << QByteArray("\r\n26\r\n\"Blank\"") << 23;
    QTest::newRow("sample past the table") << QByteArray("\r\n2\r\n\"Blank\"") << QByteArray("\r\n30000\r\n\"Blank\"") << 23;
    QTest::newRow("empty sample number") << QByteArray("\r\n2\r\n\"Blank\"") << QByteArray("\r\n\r\n\"Blank\"") << 23;
}

void TestSampleFile::valuesTheDocumentCannotHold()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(int, line);

    QByteArray data = exampleFile;
    QVERIFY(data.contains(from));
    data.replace(data.indexOf(from), from.size(), to);

    State state = freshState(384);
    state.curRow = 4;   // the last row of five; the file has three
    const ReadResult result = readSampleData(state, data);
    QCOMPARE(result.status, ReadResult::Failed);
    QCOMPARE(result.line, line);
    checkInvariants(state);
    if (line <= 3)
        QCOMPARE(state.numField, 5.0f);
    if (line <= 5)
        QCOMPARE(state.wellCount, 384);
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
    QVERIFY(bytes.contains("\"5' disc\"\r\n"));
    QVERIFY(bytes.contains("\"Labor M\xfcller \x80\"\r\n"));
    QVERIFY(bytes.contains("\"line  break\"\r\n"));
    QVERIFY(bytes.contains("\"? ?\"\r\n"));

    // What was written reads back as written, and writes again the same.
    State back = freshState();
    QVERIFY(readSampleData(back, bytes).ok());
    QCOMPARE(back.fileDesc, QStringLiteral("5' disc"));
    QCOMPARE(back.company, state.company);
    QCOMPARE(sampleFileBytes(back), bytes);

    // Every byte a file may hold survives a round trip.
    QByteArray all;
    for (int b = 0x20; b < 0x100; ++b) {
        if (b != '"' && b != ',')
            all.append(char(b));
    }
    QByteArray data = exampleFile;
    data.replace("S-01", all);
    QVERIFY(readSampleData(back, data).ok());
    QCOMPARE(sampleFileBytes(back), data);
}

void TestSampleFile::fullPlateIsAFixedPoint()
{
    State state = freshState(1536);
    state.numField = 10;
    for (int f = 1; f < 10; ++f)
        state.fieldName[f] = QStringLiteral("Field %1").arg(f);
    for (int k = 1; k <= 6; ++k)
        state.keyName[k] = QStringLiteral("Key %1").arg(k);
    QRandomGenerator random(7);
    for (int s = 1; s <= 1536; ++s) {
        for (int f = 0; f < 10; ++f) {
            QString text;
            const int length = int(random.bounded(41));
            for (int i = 0; i < length; ++i)
                text += QChar(char16_t(random.bounded(32, 127)));
            text.replace(QLatin1Char('"'), QLatin1Char('x'));
            state.sampleTable(s, f) = text;
        }
    }
    const QByteArray bytes = sampleFileBytes(state);
    State back = freshState(24);
    QVERIFY(readSampleData(back, bytes).ok());
    QCOMPARE(back.wellCount, 1536);
    for (int s = 1; s <= 1536; s += 97)
        QCOMPARE(back.sampleTable(s, 9), state.sampleTable(s, 9));
    QCOMPARE(sampleFileBytes(back), bytes);
}

void TestSampleFile::savingReplacesTheFile()
{
    QTemporaryDir dir;
    State state = exampleDocument();
    state.filePath = dir.filePath(QStringLiteral("run7.kwl"));
    {
        QFile old(state.filePath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    QVERIFY(WriteSampleFile(state).ok);
    QFile file(state.filePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), exampleFile);

    State back = freshState();
    back.filePath = state.filePath;
    QVERIFY(ReadSampleFile(back).ok());
    QCOMPARE(back.sampleTable(2, 1), QStringLiteral("S-01"));

    state.filePath = dir.filePath(QStringLiteral("no such folder/run7.kwl"));
    const WriteResult failed = WriteSampleFile(state);
    QVERIFY(!failed.ok);
    QVERIFY(!failed.error.isEmpty());
}

void TestSampleFile::missingFileEmptiesTheDocument()
{
    State state = exampleDocument();
    state.filePath = QStringLiteral("/nonexistent/folder/file.kwl");
    const ReadResult result = ReadSampleFile(state);
    QCOMPARE(result.status, ReadResult::Failed);
    QCOMPARE(result.line, 0);
    QVERIFY(!SampleHasData(state, 2));
    QCOMPARE(state.keyName[1], QStringLiteral("Blank"));
}

QTEST_APPLESS_MAIN(TestSampleFile)
#include "tst_samplefile.moc"

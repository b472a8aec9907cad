// Replays every file of the fuzzing corpus through the checks the fuzzer
// makes, from every starting document, so a reader fault found once by the
// fuzzer stays found in the ordinary test run.

#include "readcheck.h"

#include "core/samplefile.h"
#include "core/state.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <vector>

using namespace Tessar;

class CorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void replay_data();
    void replay();
    void kinds_data();
    void kinds();

private:
    QDir corpus;
};

static QByteArray contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void CorpusTest::initTestCase()
{
    const QString source = qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR));
    corpus = QDir(source + QStringLiteral("/fuzz/corpus"));
    QVERIFY2(corpus.exists(), qPrintable(corpus.path()));
    QVERIFY(corpus.entryList(QDir::Files).size() >= 20);
}

void CorpusTest::replay_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("start");
    for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
        for (int start = 0; start < StartingStateCount; ++start)
            QTest::addRow("%s@%d", qPrintable(name), start) << corpus.filePath(name) << start;
    }
}

void CorpusTest::replay()
{
    QFETCH(QString, path);
    QFETCH(int, start);
    // A buffer without a terminating zero or slack behind it, as the fuzzer
    // passes, so a sanitizer build sees any read past the end.
    const QByteArray data = contents(path);
    const std::vector<char> exact(data.begin(), data.end());
    const QStringList problems = readProblems(QByteArray::fromRawData(exact.data(), qsizetype(exact.size())), start);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

// The seed files are named for what they hold: "exact-" files are what the
// program itself writes, "older-" files carry the previous header, "cut-"
// files end early and "header-" files are no sample files at all.
void CorpusTest::kinds_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
        if (name.startsWith(QLatin1String("exact-")) || name.startsWith(QLatin1String("older-"))
            || name.startsWith(QLatin1String("cut-")) || name.startsWith(QLatin1String("header-")))
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }
}

void CorpusTest::kinds()
{
    QFETCH(QString, path);
    const QString name = QFileInfo(path).fileName();
    const QByteArray input = contents(path);
    State state = startingState(0);
    const ReadResult r = readSampleData(state, input);

    if (name.startsWith(QLatin1String("exact-"))) {
        QCOMPARE(r.status, ReadResult::Complete);
        QCOMPARE(r.header, QString::fromLatin1(FileHeader));
        QCOMPARE(sampleFileBytes(state), input);
    } else if (name.startsWith(QLatin1String("older-"))) {
        QCOMPARE(r.status, ReadResult::Complete);
        QCOMPARE(r.header, QString::fromLatin1(OlderFileHeader));
        // Saved again it differs only in the header.
        QByteArray expected = input;
        expected.replace(OlderFileHeader, FileHeader);
        QCOMPARE(sampleFileBytes(state), expected);
    } else if (name.startsWith(QLatin1String("cut-"))) {
        QCOMPARE(r.status, ReadResult::Failed);
        QVERIFY(r.line > 0);
    } else {
        QCOMPARE(r.status, ReadResult::Unrecognised);
    }
}

QTEST_GUILESS_MAIN(CorpusTest)
#include "tst_corpus.moc"

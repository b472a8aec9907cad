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
    void replay_data()
    {
        const QDir corpus(qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR))
                          + QStringLiteral("/fuzz/corpus"));
        QVERIFY(corpus.entryList(QDir::Files).size() >= 20);
        QTest::addColumn<QString>("path");
        for (const QString &name : corpus.entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }

    void replay()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        // No terminating zero or slack behind the bytes, as the fuzzer
        // passes them, so a sanitizer build sees any read past the end.
        const std::vector<char> exact(input.begin(), input.end());
        for (int start = 0; start < StartingStateCount; ++start) {
            const QStringList problems = readProblems(QByteArray::fromRawData(exact.data(), qsizetype(exact.size())), start);
            QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("from %1: ").arg(start) + problems.join(u'\n')));
        }

        // Seed files named for what they hold: "exact-" is what the program
        // itself writes, "older-" carries the previous header, "cut-" ends
        // early and "header-" is no sample file at all.
        const QString name = QFileInfo(path).fileName();
        State state = startingState(0);
        const ReadResult r = readSampleData(state, input);
        if (name.startsWith(u"exact-")) {
            QCOMPARE(r.status, ReadResult::Complete);
            QCOMPARE(sampleFileBytes(state), input);
        } else if (name.startsWith(u"older-")) {
            QCOMPARE(r.header, QString::fromLatin1(OlderFileHeader));
            QCOMPARE(sampleFileBytes(state), QByteArray(input).replace(OlderFileHeader, FileHeader));
        } else if (name.startsWith(u"cut-")) {
            QCOMPARE(r.status, ReadResult::Failed);
        } else if (name.startsWith(u"header-")) {
            QCOMPARE(r.status, ReadResult::Unrecognised);
        }
    }
};

QTEST_GUILESS_MAIN(CorpusTest)
#include "tst_corpus.moc"

// Replays every file of the fuzzing corpora through the checks the fuzzers
// make, from every starting document (and for tables every way a table
// arrives), so a fault found once by a fuzzer stays found in the ordinary
// test run; and sends every complete sample file through Copy All, CSV and
// TSV and back.

#include "readcheck.h"
#include "tablecheck.h"

#include "core/document/document.h"
#include "core/editing/editing.h"
#include "core/files/samplefile.h"
#include "core/document/state.h"
#include "core/tables/tableexport.h"
#include "core/tables/tableimport.h"
#include "core/tables/tablereader.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>
#include <vector>

using namespace Tessar;

namespace {

void addFiles(const char *folder, int atLeast, const QString &pattern = QStringLiteral("*"))
{
    const QDir corpus(qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR)) + QStringLiteral("/fuzz/")
                      + QLatin1String(folder));
    QVERIFY(corpus.entryList(QDir::Files).size() >= atLeast);
    QTest::addColumn<QString>("path");
    for (const QString &name : corpus.entryList({pattern}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The problems `check` finds in exactly the bytes, as the fuzzers pass
// them: no terminating zero or slack behind them, so a sanitizer build
// sees any read past the end.
QString problemsIn(const QByteArray &input, const std::function<QStringList(const QByteArray &)> &check)
{
    const std::vector<char> exact(input.begin(), input.end());
    return check(QByteArray::fromRawData(exact.data(), qsizetype(exact.size()))).join(u'\n');
}

} // namespace

class CorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void samples_data() { addFiles("corpus", 20); }
    void samples()
    {
        QFETCH(QString, path);
        const QByteArray input = contents(path);
        for (int start = 0; start < StartingStateCount; ++start) {
            const QString problems = problemsIn(input, [start](const QByteArray &bytes) { return readProblems(bytes, start); });
            QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("from %1: ").arg(start) + problems));
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

    void tables_data() { addFiles("table-corpus", 10); }
    void tables()
    {
        QFETCH(QString, path);
        for (int source = 0; source < TableSourceCount; ++source) {
            for (int start = 0; start < StartingStateCount; ++start) {
                const QString problems = problemsIn(contents(path), [=](const QByteArray &bytes) { return tableProblems(bytes, source, start); });
                QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("source %1, start %2: ").arg(source).arg(start) + problems));
            }
        }
    }

    // Copy All, CSV and TSV each bring every sample on the plate back into
    // the document emptied of its samples, whose row captions differ in case.
    void throughTables_data() { addFiles("corpus", 20, QStringLiteral("*.kwl")); }
    void throughTables()
    {
        QFETCH(QString, path);
        State original = startingState(0);
        if (!readSampleData(original, contents(path)).ok())
            QSKIP("not a complete sample file");
        original.fileTitle = QFileInfo(path).fileName();
        const std::vector<std::pair<QString, TableSource>> tables{
            {copyAllText(original), TableSource::Content},
            {QString::fromUtf8(exportDocument(original, ExportFormat::Csv)), TableSource::CsvFile},
            {QString::fromUtf8(exportDocument(original, ExportFormat::Tsv)), TableSource::Content},
        };
        for (const auto &[text, source] : tables) {
            State state = original;
            clearSamples(state);
            for (QString &caption : state.fieldName)
                caption = caption.toUpper();
            const ImportPlan plan = planImport(state, readTable(QStringView(text), source));
            QCOMPARE(applyImport(state, plan), ApplyStatus::Applied);
            for (int s = 1; s <= state.wellCount; ++s) {
                for (int f = 0; f < state.fieldCount(); ++f)
                    QCOMPARE(state.sampleTable(s, f), original.sampleTable(s, f));
            }
        }
    }
};

QTEST_GUILESS_MAIN(CorpusTest)
#include "tst_corpus.moc"

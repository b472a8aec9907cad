// Replays the table fuzzer's seeds through its checks from every starting
// document and every way a table arrives, and sends every complete sample
// file of the file corpus through Copy All, CSV and TSV and back.

#include "readcheck.h"
#include "tablecheck.h"

#include "core/document.h"
#include "core/editing.h"
#include "core/samplefile.h"
#include "core/state.h"
#include "core/tableexport.h"
#include "core/tableimport.h"
#include "core/tabletext.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <vector>

using namespace Tessar;

namespace {

QDir sourceDir(const QString &folder)
{
    return QDir(qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR)) + u'/' + folder);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TableCorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        const QDir corpus = sourceDir(QStringLiteral("fuzz/table-corpus"));
        QVERIFY(corpus.entryList(QDir::Files).size() >= 10);
        QTest::addColumn<QString>("path");
        for (const QString &name : corpus.entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }

    void replay()
    {
        QFETCH(QString, path);
        const QByteArray input = contents(path);
        // Exactly the bytes, as the fuzzer passes them, so a sanitizer build
        // sees any read past the end.
        const std::vector<char> exact(input.begin(), input.end());
        const QByteArray bytes = QByteArray::fromRawData(exact.data(), qsizetype(exact.size()));
        for (int source = 0; source < TableSourceCount; ++source) {
            for (int start = 0; start < StartingStateCount; ++start) {
                const QStringList problems = tableProblems(bytes, source, start);
                QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("source %1, start %2: ").arg(source).arg(start)
                                                        + problems.join(u'\n')));
            }
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("path");
        const QDir corpus = sourceDir(QStringLiteral("fuzz/corpus"));
        for (const QString &name : corpus.entryList({QStringLiteral("*.kwl")}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }

    // Copy All, CSV and TSV each bring every sample on the plate back into
    // the document emptied of its samples.
    void roundTrip()
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
            const ImportPlan plan = planImport(state, readTable(QStringView(text), source));
            QCOMPARE(applyImport(state, plan), ApplyStatus::Applied);
            for (int s = 1; s <= state.wellCount; ++s) {
                for (int f = 0; f < state.fieldCount(); ++f)
                    QCOMPARE(state.sampleTable(s, f), original.sampleTable(s, f));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TableCorpusTest)
#include "tst_tablecorpus.moc"

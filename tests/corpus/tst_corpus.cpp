// Replays every file of the fuzzing corpora through the checks the fuzzers
// make, from every starting document (and for tables every way a table
// arrives), so a fault found once by a fuzzer stays found in the ordinary
// test run; and sends every complete sample file through Copy All, CSV and
// TSV and back.

#include "../testfiles.h"
#include "readcheck.h"
#include "tablecheck.h"

#include "core/document/document.h"
#include "core/editing/editing.h"
#include "core/files/samplefile.h"
#include "core/document/state.h"
#include "core/tables/tableexport.h"
#include "core/tables/tableimport.h"
#include "core/tables/tablereader.h"
#include "core/plate/wellname.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>
#include <vector>

using namespace Tessar;

namespace {

// `relative` to the source tree.
QString sourcePath(const char *relative)
{
    return qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR)) + u'/' + QLatin1String(relative);
}

void addFiles(const char *folder, int atLeast, const QString &pattern = QStringLiteral("*"))
{
    const QDir corpus(sourcePath(folder));
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
    void samples_data() { addFiles("fuzz/corpus", 20); }
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

    // The plate layouts below face the same checks as the fuzzers' tables.
    void tables_data()
    {
        addFiles("fuzz/table-corpus", 10);
        addFiles("tests/corpus/plates", 4);
    }
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
    void throughTables_data() { addFiles("fuzz/corpus", 20, QStringLiteral("*.kwl")); }
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

    // Plate layouts as spreadsheets and plate tools keep them, each imported
    // into a list whose rows their corner cells name: every well a reader
    // of the grid would fill is filled, nothing else, and nothing is reported.
    void plateLayouts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("wells");
        QTest::addColumn<int>("filled");
        QTest::addColumn<QStringList>("wellTexts");     // "well/row caption/text as stored"
        const auto add = [](const char *name, int wells, const QStringList &texts) {
            QTest::newRow(name) << sourcePath("tests/corpus/plates/") + QLatin1String(name) << wells << wells << texts;
        };
        add("compound-conc-96.csv", 96, {"A1/Compound/DMSO", "B3/Compound/CPD-0012", "H11/Compound/",
                                         "H12/Compound/Staurosporine", "A7/Conc. (uM)/0.3", "H11/Conc. (uM)/",
                                         "H12/Conc. (uM)/10", "H12/Key/kept"});
        add("keys-and-ids-96.csv", 96, {"A1/Key/Blank", "H12/Key/Std", "C5/Key/", "C5/Sample ID/C5-patient",
                                        "a12/Sample ID/Blank 12"});
        add("konzentration-96.csv", 96, {"A1/Konz. (\u00b5M)/0,5", "H12/Konz. (\u00b5M)/48",
                                         "A6/Menge (\u00b5l)/50", "A7/Menge (\u00b5l)/25"});
        // Nothing in the corner of the only block: it is the first row's.
        add("sample-ids-384.tsv", 384, {"A1/Sample ID/S0001", "B1/Sample ID/S0025", "P20/Sample ID/S0380",
                                        "P21/Sample ID/", "P21/Compound/kept"});
    }
    void plateLayouts()
    {
        QFETCH(QString, path);
        QFETCH(int, wells);
        QFETCH(int, filled);
        QFETCH(QStringList, wellTexts);
        State state = newPlate(wells);
        const QStringList captions{"Key", "Sample ID", "Compound", "Conc. (uM)", "Konz. (\u00b5M)", "Menge (\u00b5l)"};
        state.numField = float(captions.size());
        for (qsizetype f = 0; f < captions.size(); ++f)
            state.fieldName[std::size_t(f)] = captions[f];
        state.keyName[1] = "Blank";
        state.keyName[2] = "Std";
        for (int s = 1; s <= wells; ++s) {
            for (int f = 0; f < int(captions.size()); ++f)
                state.sampleTable(s, f) = "kept";
        }

        const ImportPlan plan = planImport(state, readTable(QByteArrayView(contents(path)), tableSourceForPath(path)));
        QCOMPARE(plan.issues.size(), 0u);
        QCOMPARE(int(plan.samples.size()), filled);
        QCOMPARE(applyImport(state, plan), ApplyStatus::Applied);
        for (const QString &expected : wellTexts) {
            const QStringList parts = expected.split(u'/');
            const int s = sampleOfWell(state, parts[0]);
            const auto f = captions.indexOf(parts[1]);
            QVERIFY2(s > 0 && f >= 0, qPrintable(expected));
            QCOMPARE(parts[0] + u'/' + parts[1] + u'/' + state.sampleTable(s, int(f)), expected);
        }
    }
};

QTEST_GUILESS_MAIN(CorpusTest)
#include "tst_corpus.moc"

// Reads and writes a full 1536-well document through the core and through
// the plainest equivalent C++, in the same run, and prints how much slower
// the core is. Also imports the same document as a 1536-line CSV table into
// a document with its rows and keys, against splitting that table into its
// cells in plain C++. And times the shortest stage route through the
// 1536 wells, full and with every other well empty at random, with the
// position list written, against its goal.
//
//   tessar-bench [Google Benchmark flags]
//
// Without flags each benchmark runs seven times, the runs of all of them
// interleaved at random so that a load on the machine falls on both sides of
// a ratio alike; the ratios use the medians.
//
// Exit status 1 when the document cannot be read or written, 0 otherwise;
// a missed goal is printed ("MISSED"), not failed, since timings on a shared
// machine are noisy.

#include "baselineio.h"
#include "platedocument.h"
#include "ratioreporter.h"

#include "core/document/document.h"
#include "core/files/samplefile.h"
#include "core/document/state.h"
#include "core/stage/stagepositions.h"
#include "core/tables/tableexport.h"
#include "core/tables/tableimport.h"
#include "core/tables/tablereader.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

using namespace Tessar;

namespace {

struct Fixture
{
    PlateDocument doc = makePlateDocument();
    QTemporaryDir dir;
    QString readPath;     // a saved copy of the document, read over and over
    QString writePath;    // replaced by every write
    QByteArray bytes;     // the file's content
    QString csvPath;      // the document as a CSV table
    State importTarget;   // the document's rows and keys, no samples
    State sparse;         // the document with about half its wells emptied
};

Fixture *fixture = nullptr;

void BM_ReadCore(benchmark::State &bm)
{
    State state = fixture->doc.state;
    state.filePath = fixture->readPath;
    for (auto _ : bm) {
        const ReadResult r = ReadSampleFile(state);
        if (!r.ok()) {
            bm.SkipWithError("the core could not read the document");
            break;
        }
        benchmark::DoNotOptimize(state.sampleTable(1536, 9));
    }
}

void BM_ReadBaseline(benchmark::State &bm)
{
    const std::string path = fixture->readPath.toStdString();
    for (auto _ : bm) {
        const std::vector<std::string> lines = readLinesPlain(path);
        if (lines.empty()) {
            bm.SkipWithError("could not read the document");
            break;
        }
        benchmark::DoNotOptimize(lines.back());
    }
}

void BM_WriteCore(benchmark::State &bm)
{
    State state = fixture->doc.state;
    state.filePath = fixture->writePath;
    for (auto _ : bm) {
        const WriteResult r = WriteSampleFile(state);
        if (!r.ok) {
            bm.SkipWithError("the core could not write the document");
            break;
        }
    }
}

void BM_WriteBaseline(benchmark::State &bm)
{
    const std::string path = fixture->writePath.toStdString() + ".plain";
    for (auto _ : bm) {
        if (!writeLinesPlain(path, fixture->doc)) {
            bm.SkipWithError("could not write the document");
            break;
        }
    }
}

// The two halves of the core's work without the disk, to tell where its
// time goes.
void BM_ParseCore(benchmark::State &bm)
{
    State state = fixture->doc.state;
    for (auto _ : bm)
        benchmark::DoNotOptimize(readSampleData(state, fixture->bytes).status);
}

void BM_FormatCore(benchmark::State &bm)
{
    for (auto _ : bm)
        benchmark::DoNotOptimize(sampleFileBytes(fixture->doc.state));
}

// Reading the table file, planning the import and applying it.
void BM_ImportCore(benchmark::State &bm)
{
    State state = fixture->importTarget;
    for (auto _ : bm) {
        QByteArray bytes;
        QString error;
        if (!readTableFile(fixture->csvPath, bytes, error)) {
            bm.SkipWithError("the core could not read the table");
            break;
        }
        const ImportPlan plan = planImport(state, readTable(QByteArrayView(bytes), tableSourceForPath(fixture->csvPath)));
        if (plan.samples.size() != 1536 || plan.hasProblems() || applyImport(state, plan) != ApplyStatus::Applied) {
            bm.SkipWithError("the core did not import the whole table");
            break;
        }
        benchmark::DoNotOptimize(state.sampleTable(1536, 9));
    }
}

void BM_ImportBaseline(benchmark::State &bm)
{
    const std::string path = fixture->csvPath.toStdString();
    for (auto _ : bm) {
        const std::vector<std::vector<std::string>> rows = readTablePlain(path);
        if (rows.size() != 1537) {
            bm.SkipWithError("could not read the table");
            break;
        }
        benchmark::DoNotOptimize(rows.back().back());
    }
}

// A calibrated plate, as a stage run uses it.
void stageRoute(benchmark::State &bm, const State &state)
{
    PositionRequest request;
    request.plate = *defaultPlateType(1536);
    Calibration calibration{QStringLiteral("bench"), request.plate.name, StageUnit::Micrometre, true, true,
                            {{{1, 1}, {1000, 2000}}, {{32, 48}, {106790, 71480}}, {{1, 48}, {106540, 1250}}}};
    request.calibration = fitCalibration(request.plate, calibration);
    request.order = VisitOrder::Shortest;
    for (auto _ : bm) {
        const PositionList list = stagePositions(state, request);
        const QByteArray file = positionListFile(list, DefaultXYDevice);
        if (list.positions.empty() || file.isEmpty()) {
            bm.SkipWithError("no positions");
            return;
        }
        benchmark::DoNotOptimize(file.data());
    }
}

void BM_StageRouteFull(benchmark::State &bm)
{
    stageRoute(bm, fixture->doc.state);
}

void BM_StageRouteSparse(benchmark::State &bm)
{
    stageRoute(bm, fixture->sparse);
}

// Both sides must do the same I/O for the ratios to mean anything.
bool sameFiles(const Fixture &f)
{
    std::vector<std::string> expected = f.doc.headerLines;
    for (std::size_t i = 0; i < f.doc.samples.size(); ++i) {
        expected.push_back(std::to_string(i + 1));
        for (const std::string &field : f.doc.samples[i])
            expected.push_back('"' + field + '"');
    }
    expected.push_back("-1");
    const std::string plainPath = f.writePath.toStdString() + ".plain";
    return readLinesPlain(f.readPath.toStdString()) == expected
        && writeLinesPlain(plainPath, f.doc) && readLinesPlain(plainPath) == expected;
}

} // namespace

BENCHMARK(BM_ReadCore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteCore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatCore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageRouteFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageRouteSparse)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (!initialiseBenchmarks(argc, argv))
        return 2;

    Fixture f;
    if (!f.dir.isValid()) {
        std::fprintf(stderr, "tessar-bench: no temporary directory\n");
        return 1;
    }
    f.readPath = f.dir.filePath(QStringLiteral("read.kwl"));
    f.writePath = f.dir.filePath(QStringLiteral("write.kwl"));
    State saved = f.doc.state;
    saved.filePath = f.readPath;
    f.bytes = sampleFileBytes(saved);
    if (!WriteSampleFile(saved).ok) {
        std::fprintf(stderr, "tessar-bench: cannot write %s\n", qPrintable(f.readPath));
        return 1;
    }
    State reread;
    reread.filePath = f.readPath;
    const bool readsBack = ReadSampleFile(reread).ok() && sampleFileBytes(reread) == f.bytes;
    if (!readsBack || !sameFiles(f)) {
        std::fprintf(stderr, "tessar-bench: the core and the reference code disagree on the file\n");
        return 1;
    }
    f.csvPath = f.dir.filePath(QStringLiteral("table.csv"));
    QFile csv(f.csvPath);
    const QByteArray table = exportDocument(f.doc.state, ExportFormat::Csv);
    if (!csv.open(QIODevice::WriteOnly) || csv.write(table) != table.size() || !csv.flush()) {
        std::fprintf(stderr, "tessar-bench: cannot write %s\n", qPrintable(f.csvPath));
        return 1;
    }
    f.importTarget = f.doc.state;
    clearSamples(f.importTarget);
    f.sparse = f.doc.state;
    QRandomGenerator random(19);
    for (int s = 1; s <= f.sparse.wellCount; ++s) {
        if (random.bounded(2) == 0) {
            for (int field = 0; field <= f.sparse.sampleTable.lastField(); ++field)
                f.sparse.sampleTable(s, field).clear();
        }
    }
    std::fprintf(stdout, "table: 1536 lines, %d columns, %lld bytes\n", f.doc.state.fieldCount() + 2,
                 static_cast<long long>(table.size()));
    std::fprintf(stdout, "document: %d wells, %d rows per sample, %lld bytes\n", f.doc.state.wellCount,
                 f.doc.state.fieldCount(), static_cast<long long>(f.bytes.size()));
    fixture = &f;

    RatioReporter reporter({
        {"read / read baseline", "BM_ReadCore", "BM_ReadBaseline", 2.0},
        {"write / write baseline", "BM_WriteCore", "BM_WriteBaseline", 1.5},
        {"import / table split", "BM_ImportCore", "BM_ImportBaseline", 10.0},
    }, {
        {"import of a 1536-line CSV", "BM_ImportCore", 50.0},
        {"shortest route and position list, 1536 wells", "BM_StageRouteFull", 50.0},
        {"the same, half the wells at random", "BM_StageRouteSparse", 50.0},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}

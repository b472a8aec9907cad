// Starts of the whole program, each its own process, offscreen, from the
// exec to the end of the first paint of its main window, against a
// QApplication that starts and ends at once.

#include "startbench.h"

#include "core/document/settings.h"
#include "core/document/state.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

namespace Tessar {

namespace {

constexpr int StartTimeoutMs = 30000;
constexpr char Painted[] = "painted\n";

struct Starts
{
    QTemporaryDir dir;
    // The first start of a new user, and a user whose last plate had 1536
    // wells of ten rows, which makes the biggest first window.
    QProcessEnvironment firstRun;
    QProcessEnvironment stored1536;
    QString storedSettings;
    QByteArray storedBytes;
};

std::unique_ptr<Starts> starts;

double seconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

// The processor time of every child waited for so far: the only way to see
// what the started programs cost rather than the waiting for them.
double childProcessorSeconds()
{
    rusage usage{};
    if (getrusage(RUSAGE_CHILDREN, &usage) != 0)
        return 0.0;
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs `program` to its end; true when it ended by itself with status 0
// and printed `expected` (when that is given).
bool runOnce(const QString &program, const QProcessEnvironment &environment,
             const QByteArray &expected, QString *error)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(program);
    process.start();
    if (!process.waitForFinished(StartTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        *error = program + QStringLiteral(" did not end: ") + process.errorString();
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    if (!expected.isEmpty() && process.readAllStandardOutput() != expected) {
        *error = program + QStringLiteral(" ended without painting its window");
        return false;
    }
    return true;
}

void timeStarts(benchmark::State &bm, const QString &program,
                const QProcessEnvironment Starts::*environment, const QByteArray &expected)
{
    if (!starts) {
        bm.SkipWithError("no private folders for the started programs");
        return;
    }
    QString error;
    const double before = childProcessorSeconds();
    for (auto _ : bm) {
        if (!runOnce(program, (*starts).*environment, expected, &error)) {
            bm.SkipWithError(qPrintable(error));
            break;
        }
    }
    bm.counters["process_cpu"] = benchmark::Counter(childProcessorSeconds() - before,
                                                    benchmark::Counter::kAvgIterations);
}

void BM_StartTessar(benchmark::State &bm)
{
    timeStarts(bm, QStringLiteral(STARTPROBE), &Starts::firstRun, Painted);
}

void BM_StartTessar1536(benchmark::State &bm)
{
    timeStarts(bm, QStringLiteral(STARTPROBE), &Starts::stored1536, Painted);
}

void BM_StartEmptyApplication(benchmark::State &bm)
{
    timeStarts(bm, QStringLiteral(EMPTYAPP), &Starts::firstRun, QByteArray());
}

QProcessEnvironment environmentIn(const QDir &root, const QString &configDir)
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    e.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(configDir));
    e.insert(QStringLiteral("XDG_CACHE_HOME"), root.filePath(QStringLiteral("cache")));
    // Nor the recovery files the timed windows of this benchmark write.
    e.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
    // A copy of the program the user has open must not take the starts over.
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("runtime")));
    return e;
}

// What the program itself would have saved for a 1536-well plate.
void writeStoredSettings(const QString &path)
{
    State state;
    state.wellCount = 1536;
    state.numField = 10;
    state.colorsOn = QStringLiteral("yes");
    state.company = QStringLiteral("HALV");
    for (int f = 1; f < MaxFields; ++f)
        state.fieldName[std::size_t(f)] = QStringLiteral("description") + QString::number(f);
    // A window of 1024 by 768 pixels at the top left, in twips.
    const WindowPlacement window{0, 0, 1024 * 15, 768 * 15};
    QSettings store(path, QSettings::IniFormat);
    SaveSettings(state, store, window);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool prepareStarts(QString *error)
{
    auto s = std::make_unique<Starts>();
    if (!s->dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    const QDir root(s->dir.path());
    for (const char *sub : {"home", "config", "config1536/Corvant", "cache", "state", "runtime"}) {
        if (!root.mkpath(QLatin1String(sub))) {
            *error = QStringLiteral("cannot make ") + root.filePath(QLatin1String(sub));
            return false;
        }
    }
    // Qt accepts a runtime folder only when it is its owner's alone.
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    s->firstRun = environmentIn(root, QStringLiteral("config"));
    s->stored1536 = environmentIn(root, QStringLiteral("config1536"));
    s->storedSettings = root.filePath(QStringLiteral("config1536/Corvant/Corvant.ini"));
    writeStoredSettings(s->storedSettings);
    s->storedBytes = contents(s->storedSettings);
    starts = std::move(s);

    if (!runOnce(QStringLiteral(STARTPROBE), starts->firstRun, Painted, error)
        || !runOnce(QStringLiteral(STARTPROBE), starts->stored1536, Painted, error)
        || !runOnce(QStringLiteral(EMPTYAPP), starts->firstRun, QByteArray(), error)) {
        starts.reset();
        return false;
    }
    // Every timed start must find the settings as they were before it.
    if (!QDir(root.filePath(QStringLiteral("config"))).isEmpty() || starts->storedBytes.isEmpty()
        || contents(starts->storedSettings) != starts->storedBytes) {
        *error = QStringLiteral("a timed start changed the settings");
        starts.reset();
        return false;
    }
    return true;
}

void releaseStarts()
{
    starts.reset();
}

BENCHMARK(BM_StartTessar)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartTessar1536)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartEmptyApplication)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace Tessar

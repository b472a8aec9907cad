// Runs the soak of the main window for as many actions or minutes as asked:
//
//   tessar-soak --actions N | --minutes M [--seed S] [--verbose]
//
// A failure prints the seed, the action it failed at and the actions before
// it; the same seed gives the same actions, so `--seed S --actions N`
// replays it exactly. The program runs offscreen in a home of its own,
// which it removes afterwards (--keep leaves it for a look).
#include "soakrunner.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: tessar-soak --actions N | --minutes M [--seed S] [--verbose] [--trail N]\n"
                 "                   [--restart-every N] [--source DIR] [--keep]\n");
}

// Settings, recovery files, kept copies and the running-copy socket go
// into the soak's own folders, never the user's.
bool makePrivateHome(const QString &root)
{
    const QDir dir(root);
    for (const char *sub : {"config", "state", "cache", "data", "home", "runtime", "work"}) {
        if (!dir.mkpath(QLatin1String(sub)))
            return false;
    }
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath(QStringLiteral("runtime"))));
    qputenv("HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    SoakOptions options;
    options.actions = 0;
    bool seeded = false;
    bool keep = false;
    options.sourceDir = qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--actions" && hasValue)
            options.actions = std::strtoll(argv[++i], nullptr, 10);
        else if (arg == "--minutes" && hasValue)
            options.minutes = std::strtod(argv[++i], nullptr);
        else if (arg == "--seed" && hasValue) {
            options.seed = std::strtoull(argv[++i], nullptr, 10);
            seeded = true;
        } else if (arg == "--trail" && hasValue)
            options.trail = std::atoi(argv[++i]);
        else if (arg == "--restart-every" && hasValue)
            options.restartEvery = std::atoi(argv[++i]);
        else if (arg == "--source" && hasValue)
            options.sourceDir = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--verbose")
            options.verbose = true;
        else if (arg == "--keep")
            keep = true;
        else {
            usage();
            return 2;
        }
    }
    if (options.actions <= 0 && options.minutes <= 0) {
        usage();
        return 2;
    }
    if (!seeded)
        options.seed = std::random_device()() % 1000000000u;

    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tessar-soak-XXXXXX"));
    if (!home.isValid() || !makePrivateHome(home.path())) {
        std::fprintf(stderr, "tessar-soak: cannot make a private home in %s\n", qPrintable(QDir::tempPath()));
        return 2;
    }
    home.setAutoRemove(!keep);
    options.folder = home.path() + QStringLiteral("/work");

    QApplication app(argc, argv);
    SoakRunner::installCrashReport();
    SoakRunner::installMessageFilter();
    std::fprintf(stderr, "tessar-soak: seed %llu%s\n", static_cast<unsigned long long>(options.seed),
                 keep ? qPrintable(QStringLiteral(", files in ") + home.path()) : "");

    // A timed run goes on after a failure with the next seed, so that one
    // fault does not hide the others; each failure's seed is printed as it
    // happens, to be replayed on its own.
    QElapsedTimer clock;
    clock.start();
    qint64 actions = 0, saves = 0, steps = 0, dialogs = 0;
    QStringList failures;
    for (;;) {
        SoakOptions run = options;
        if (options.minutes > 0)
            run.minutes = options.minutes - clock.elapsed() / 60000.0;
        const qint64 before = actions;
        run.progress = [before](qint64 done, double) {
            std::fprintf(stderr, "tessar-soak: %lld actions\n", before + done);
        };
        SoakRunner runner(run);
        const SoakResult result = runner.run();
        std::fprintf(stderr, "%s", qPrintable(result.report()));
        actions += result.actions;
        saves += result.savesReadBack;
        steps += result.historySteps;
        dialogs += result.dialogsAnswered();
        if (!result.ok)
            failures.append(QStringLiteral("tessar-soak --seed %1 --actions %2: %3")
                                .arg(result.seed).arg(result.actions + 1).arg(result.failure));
        if (result.ok || options.minutes <= 0 || clock.elapsed() >= qint64(options.minutes * 60000))
            break;
        options.seed = options.seed + 1;
        std::fprintf(stderr, "tessar-soak: going on with seed %llu\n", static_cast<unsigned long long>(options.seed));
    }
    std::fprintf(stderr, "tessar-soak: totals: %lld actions in %.1f min, %lld saves read back, %lld undo/redo steps checked, "
                         "%lld dialogs answered, %lld failures\n",
                 actions, clock.elapsed() / 60000.0, saves, steps, dialogs, static_cast<long long>(failures.size()));
    for (const QString &failure : std::as_const(failures))
        std::fprintf(stderr, "failed: %s\n", qPrintable(failure));
    const QMap<QString, int> messages = SoakRunner::messages();
    for (auto it = messages.begin(); it != messages.end(); ++it)
        std::fprintf(stderr, "message x%d: %s\n", it.value(), qPrintable(it.key()));
    return failures.isEmpty() ? 0 : 1;
}

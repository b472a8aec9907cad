// Runs the soak of the main window for as many actions or minutes as asked:
//
//   tessar-soak --actions N | --minutes M [--seed S] [--verbose] [--keep]
//
// A failure prints the seed, the action it failed at and the actions before
// it; the same seed gives the same actions, so `--seed S --actions N`
// replays it exactly. A timed run goes on after a failure with the next
// seed, so that one fault does not hide the others. The program runs
// offscreen in a home of its own, removed afterwards (--keep leaves it).
#include "soakrunner.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

int main(int argc, char *argv[])
{
    SoakOptions options;
    options.actions = 0;
    options.seed = std::random_device()() % 1000000000u;
    options.sourceDir = qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR));
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const QByteArray value = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        bool number = true;
        if (arg == "--actions")
            options.actions = value.toLongLong(&number), ++i;
        else if (arg == "--minutes")
            options.minutes = value.toDouble(&number), ++i;
        else if (arg == "--seed")
            options.seed = value.toULongLong(&number), ++i;
        else if (arg == "--verbose" || arg == "--keep")
            (arg == "--keep" ? keep : options.verbose) = true;
        else
            number = false;
        if (!number) {
            std::fprintf(stderr, "usage: tessar-soak --actions N | --minutes M [--seed S] [--verbose] [--keep]\n");
            return 2;
        }
    }
    if (options.actions <= 0 && options.minutes <= 0) {
        std::fprintf(stderr, "usage: tessar-soak --actions N | --minutes M [--seed S] [--verbose] [--keep]\n");
        return 2;
    }

    // Settings, recovery files, kept copies and the running-copy socket go
    // into the soak's own folders, never the user's.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tessar-soak-XXXXXX"));
    home.setAutoRemove(!keep);
    for (const char *sub : {"config", "state", "cache", "data", "home", "runtime", "work"}) {
        if (!home.isValid() || !QDir(home.path()).mkpath(QLatin1String(sub))) {
            std::fprintf(stderr, "tessar-soak: cannot make a private home in %s\n", qPrintable(QDir::tempPath()));
            return 2;
        }
    }
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const auto &[variable, sub] : {std::pair{"XDG_CONFIG_HOME", "config"}, {"XDG_STATE_HOME", "state"}, {"XDG_CACHE_HOME", "cache"},
                                        {"XDG_DATA_HOME", "data"}, {"XDG_RUNTIME_DIR", "runtime"}, {"HOME", "home"}})
        qputenv(variable, QFile::encodeName(home.filePath(QLatin1String(sub))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    options.folder = home.filePath(QStringLiteral("work"));

    QApplication app(argc, argv);
    SoakRunner::installReports();
    std::fprintf(stderr, "tessar-soak: seed %llu%s\n", static_cast<unsigned long long>(options.seed),
                 keep ? qPrintable(QStringLiteral(", files in ") + home.path()) : "");
    QElapsedTimer clock;
    clock.start();
    const double minutes = options.minutes;
    qint64 actions = 0, saves = 0, steps = 0, dialogs = 0;
    QStringList failures;
    for (;; ++options.seed) {
        if (minutes > 0)
            options.minutes = minutes - clock.elapsed() / 60000.0;
        const SoakResult result = SoakRunner(options).run();
        std::fprintf(stderr, "%s", qPrintable(result.report()));
        actions += result.actions;
        saves += result.savesReadBack;
        steps += result.historySteps;
        dialogs += result.dialogsAnswered();
        if (!result.ok)
            failures.append(QStringLiteral("tessar-soak --seed %1 --actions %2: %3").arg(result.seed).arg(result.actions + 1).arg(result.failure));
        if (result.ok || minutes <= 0 || clock.elapsed() >= qint64(minutes * 60000))
            break;
        std::fprintf(stderr, "tessar-soak: going on with seed %llu\n", static_cast<unsigned long long>(options.seed + 1));
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

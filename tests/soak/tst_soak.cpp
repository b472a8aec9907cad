// The whole window under a long random sequence of user actions: no input
// crashes it, hangs it or leaves the document and what the window shows of
// it apart. Without arguments it is the suite's run, 2,000 actions from a
// fixed seed; for longer runs:
//
//   tst_soak --actions N | --minutes M [--seed S] [--verbose] [--keep]
//
// The same seed gives the same actions, so `--seed S --actions N` replays a
// failure exactly. A timed run goes on after a failure with the next seed,
// so that one fault does not hide the others. Everything runs offscreen in
// a home of its own, removed afterwards (--keep leaves it).
#include "soakrunner.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    SoakOptions options;
    options.seed = 20250611;
    options.sourceDir = qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR));
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const QByteArray value = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        bool number = true;
        if (arg == "--actions" || arg == "--minutes") {
            options.actions = arg == "--actions" ? value.toLongLong(&number) : 0;
            options.minutes = arg == "--minutes" ? value.toDouble(&number) : 0;
            ++i;
        } else if (arg == "--seed") {
            options.seed = value.toULongLong(&number), ++i;
        } else if (arg == "--verbose" || arg == "--keep") {
            (arg == "--keep" ? keep : options.verbose) = true;
        } else {
            number = false;
        }
        if (!number || (options.actions <= 0 && options.minutes <= 0)) {
            std::fprintf(stderr, "usage: tst_soak [--actions N | --minutes M] [--seed S] [--verbose] [--keep]\n");
            return 2;
        }
    }

    // Settings, recovery files, kept copies and the running-copy socket go
    // into the soak's own folders, never the user's.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tessar-soak-XXXXXX"));
    home.setAutoRemove(!keep);
    for (const char *sub : {"config", "state", "cache", "data", "home", "runtime", "work"}) {
        if (!home.isValid() || !QDir(home.path()).mkpath(QLatin1String(sub))) {
            std::fprintf(stderr, "tst_soak: cannot make a private home in %s\n", qPrintable(QDir::tempPath()));
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
    QElapsedTimer clock;
    clock.start();
    const double minutes = options.minutes;
    int failures = 0;
    for (;; ++options.seed) {
        if (minutes > 0)
            options.minutes = minutes - clock.elapsed() / 60000.0;
        const SoakResult result = SoakRunner(options).run();
        std::fprintf(stderr, "%s", qPrintable(result.report()));
        failures += !result.ok;
        if (result.ok || minutes <= 0 || clock.elapsed() >= qint64(minutes * 60000))
            break;
    }
    return failures == 0 ? 0 : 1;
}

#include "core/document/settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace Tessar;

// The program under a real window manager, on a private X display: a
// maximised frame has other borders than a normal one, which is where a
// stored place used to creep by a pixel on every close.
class TestWindowManager : public QObject
{
    Q_OBJECT

    QProcess mServer;
    QProcess mManager;
    QString mDisplay;
    QString mSetUpLog;

    bool managerRunning()
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-display"), mDisplay, QStringLiteral("-root"),
                                              QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        if (!xprop.waitForFinished(3000)) {
            xprop.kill();
            xprop.waitForFinished(1000);
            return false;
        }
        return xprop.readAllStandardOutput().contains("window id");
    }

    void stopDesktop()
    {
        for (QProcess *process : {&mManager, &mServer}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
    }

    // A private X server with the window manager on it. On a busy machine
    // either may now and then fail to come up; that is the test bench, not
    // the program, so a fresh pair is tried before the test gives up.
    bool startDesktop()
    {
        mServer.setProcessChannelMode(QProcess::SeparateChannels);
        mServer.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                               QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
        QElapsedTimer clock;
        clock.start();
        while (!mServer.canReadLine() && mServer.state() != QProcess::NotRunning && clock.elapsed() < 20000)
            mServer.waitForReadyRead(500);
        const QByteArray number = mServer.readLine().trimmed();
        if (number.isEmpty()) {
            mSetUpLog += QStringLiteral("Xvfb: ") + QString::fromLocal8Bit(mServer.readAllStandardError());
            return false;
        }
        mDisplay = QLatin1Char(':') + QString::fromLatin1(number);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), mDisplay);
        mManager.setProcessEnvironment(environment);
        mManager.setProcessChannelMode(QProcess::MergedChannels);
        mManager.start(QStringLiteral("openbox"), {});
        clock.restart();
        while (clock.elapsed() < 20000 && mManager.state() != QProcess::NotRunning) {
            if (managerRunning())
                return true;
            QTest::qWait(200);
        }
        mSetUpLog += QStringLiteral("openbox on %1: %2\n").arg(mDisplay, QString::fromLocal8Bit(mManager.readAll()));
        return false;
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"Xvfb", "openbox", "xprop", "xwininfo"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        bool started = false;
        for (int attempt = 0; attempt < 3 && !started; ++attempt) {
            started = startDesktop();
            if (!started)
                stopDesktop();
        }
        QVERIFY2(started, qPrintable(QStringLiteral("no private desktop came up:\n") + mSetUpLog));
    }

    void cleanupTestCase()
    {
        stopDesktop();
    }

    // A start that races its X server (a session starting both at once, on
    // a busy machine) waits for the display; with no server at all it says
    // so and ends, where it used to abort with a core dump.
    void startBeforeTheDisplayIsUp_data()
    {
        QTest::addColumn<bool>("serverComes");
        QTest::newRow("server comes late") << true;
        QTest::newRow("no server") << false;
    }

    void startBeforeTheDisplayIsUp()
    {
        QFETCH(bool, serverComes);
        int number = 150;
        while (number < 200 && (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
                                || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))))
            ++number;
        const QString display = QStringLiteral(":%1").arg(number);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("TESSAR_SOURCE_DIR") + QStringLiteral("/data:")
                                                       + qEnvironmentVariable("PATH"));
        QProcess program, server;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TESSAR_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        if (!serverComes) {
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 1);
            QVERIFY(program.readAllStandardError().contains("no display answered at " + display.toUtf8()));
            return;
        }
        QTest::qWait(1500);
        server.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        bool shown = false;
        QElapsedTimer clock;
        clock.start();
        while (!shown && program.state() == QProcess::Running && clock.elapsed() < 30000) {
            QProcess list;
            list.start(QStringLiteral("xwininfo"), {QStringLiteral("-display"), display, QStringLiteral("-root"),
                                                    QStringLiteral("-tree")});
            list.waitForFinished(3000);
            shown = list.readAllStandardOutput().contains("\"Corvant XY Stage\"");
            if (!shown)
                QTest::qWait(200);
        }
        program.kill();
        program.waitForFinished();
        server.terminate();
        server.waitForFinished();
        QVERIFY2(shown, program.readAllStandardError().constData());
    }

    void maximisedClosesKeepTheStoredPlace()
    {
        QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath());
        {
            QSettings store(settingsFilePath(), QSettings::IniFormat);
            store.setValue(QStringLiteral("WNDO/Left"), QStringLiteral("1500"));
            store.setValue(QStringLiteral("WNDO/Top"), QStringLiteral("1200"));
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), mDisplay);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // The manual must be found, or its warning would wait for a click.
        environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("TESSAR_SOURCE_DIR") + QStringLiteral("/data:")
                                                       + qEnvironmentVariable("PATH"));
        for (int run = 0; run < 3; ++run) {
            QProcess probe;
            probe.setProcessEnvironment(environment);
            probe.start(QStringLiteral(TESSAR_PROBE), {QStringLiteral("--maximise-and-close")});
            QVERIFY2(probe.waitForFinished(40000), probe.readAllStandardError().constData());
            QCOMPARE(probe.exitCode(), 0);
            QCOMPARE(probe.readAllStandardOutput().trimmed(), QByteArray("maximised"));
            QSettings store(settingsFilePath(), QSettings::IniFormat);
            QCOMPARE(store.value(QStringLiteral("WNDO/Left")).toString() + QLatin1Char(' ')
                         + store.value(QStringLiteral("WNDO/Top")).toString(),
                     QStringLiteral("1500 1200"));
        }
    }
};

QTEST_GUILESS_MAIN(TestWindowManager)
#include "tst_windowmanager.moc"

#include "core/settings.h"

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

    bool managerRunning()
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-display"), mDisplay, QStringLiteral("-root"),
                                              QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        xprop.waitForFinished(5000);
        return xprop.readAllStandardOutput().contains("window id");
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"Xvfb", "openbox", "xprop"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        mServer.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                               QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
        QElapsedTimer clock;
        clock.start();
        while (!mServer.canReadLine() && clock.elapsed() < 20000)
            mServer.waitForReadyRead(500);
        const QByteArray number = mServer.readLine().trimmed();
        QVERIFY2(!number.isEmpty(), "the X server did not start");
        mDisplay = QLatin1Char(':') + QString::fromLatin1(number);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), mDisplay);
        mManager.setProcessEnvironment(environment);
        mManager.start(QStringLiteral("openbox"), {});
        QTRY_VERIFY_WITH_TIMEOUT(managerRunning(), 20000);
    }

    void cleanupTestCase()
    {
        for (QProcess *process : {&mManager, &mServer}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
        }
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
            QVERIFY(probe.waitForFinished(60000));
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

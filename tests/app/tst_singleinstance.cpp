#include "app/singleinstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <QUuid>

using Tessar::SingleInstance;

class TestSingleInstance : public QObject
{
    Q_OBJECT

    static QByteArray nextLine(QProcess &process)
    {
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        return process.readLine().trimmed();
    }

private slots:
    // Of two copies started together exactly one runs; the other knocks at
    // it, and a stranger's junk does not stop that. Killed outright, the
    // running copy leaves its socket file and its lock file behind: neither
    // delays the next start.
    void processesHandOverAndSurviveACrash()
    {
        const QString name = "tessar-test-" + QUuid::createUuid().toString(QUuid::Id128);
        QProcess a, b, next;
        a.start(INSTANCE_HELPER, {name});
        b.start(INSTANCE_HELPER, {name});
        const QByteArrayList said{nextLine(a), nextLine(b)};
        QCOMPARE(said.count("first"), 1);
        QCOMPARE(said.count("second"), 1);
        QProcess &first = said[0] == "first" ? a : b;
        QCOMPARE(nextLine(first), "activated");

        QLocalSocket stranger;
        stranger.connectToServer(SingleInstance(name).serverName());
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write(QByteArray(4096, 'x') + '\n');
        QVERIFY(stranger.waitForBytesWritten(1000));
        QVERIFY(!SingleInstance(name).start());
        QCOMPARE(nextLine(first), "activated");

        first.kill();
        first.waitForFinished();
        QFile lock(SingleInstance(name).lockFileName());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("99999999\ninstancehelper\n" + QSysInfo::machineHostName().toUtf8() + '\n');
        lock.close();
        QElapsedTimer clock;
        clock.start();
        next.start(INSTANCE_HELPER, {name});
        QCOMPARE(nextLine(next), "first");
        QVERIFY(clock.elapsed() < 2000);
        next.kill();
        next.waitForFinished();
    }

    // The first copy answers only once its window shows; a start in the
    // meantime waits for it rather than run a second copy.
    void laterStartWaitsForTheFirstToListen()
    {
        const QString name = "tessar-test-" + QUuid::createUuid().toString(QUuid::Id128);
        QProcess first, later;
        first.start(INSTANCE_HELPER, {name, "--listen-after", "800"});
        QCOMPARE(nextLine(first), "first");
        QElapsedTimer clock;
        clock.start();
        later.start(INSTANCE_HELPER, {name});
        QCOMPARE(nextLine(later), "second");
        QVERIFY(clock.elapsed() >= 400);
        QCOMPARE(nextLine(first), "activated");
        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"

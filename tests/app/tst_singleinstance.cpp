#include "app/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QUuid>

using Tessar::SingleInstance;

class TestSingleInstance : public QObject
{
    Q_OBJECT

    // Names of their own, so the tests never meet a real running copy.
    static QString freshName() { return QStringLiteral("tessar-test-") + QUuid::createUuid().toString(QUuid::Id128); }

    static QByteArray startHelper(QProcess &process, const QString &name)
    {
        process.start(QStringLiteral(INSTANCE_HELPER), {name});
        return nextLine(process);
    }

    static QByteArray nextLine(QProcess &process)
    {
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        return process.readLine().trimmed();
    }

private slots:
    void laterStartsKnockAndStrangersAreIgnored()
    {
        const QString name = freshName();
        SingleInstance first(name);
        QSignalSpy knocks(&first, &SingleInstance::activationRequested);
        QVERIFY(first.start());

        QLocalSocket stranger;
        stranger.connectToServer(first.serverName());
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write(QByteArray(4096, 'x') + '\n');
        QTest::qWait(100);

        for (int i = 1; i <= 2; ++i) {
            SingleInstance later(name);
            QVERIFY(!later.start());
            QTRY_COMPARE(knocks.count(), i);
        }
    }

    void aLaterStartHandsOverItsFile()
    {
        const QString name = freshName();
        SingleInstance first(name);
        QSignalSpy knocks(&first, &SingleInstance::activationRequested);
        QSignalSpy opens(&first, &SingleInstance::openRequested);
        QVERIFY(first.start());

        SingleInstance later(name);
        QVERIFY(!later.start(QStringLiteral("plates/run 7 \u00e9.kwl")));
        QTRY_COMPARE(opens.count(), 1);
        QCOMPARE(knocks.count(), 1);
        QCOMPARE(opens.first().first().toString(),
                 QDir::current().absoluteFilePath(QStringLiteral("plates/run 7 \u00e9.kwl")));
    }

    void processesHandOverAndSurviveACrash()
    {
        const QString name = freshName();
        QProcess first, second, third;
        QCOMPARE(startHelper(first, name), QByteArray("first"));
        QCOMPARE(startHelper(second, name), QByteArray("second"));
        QCOMPARE(nextLine(first), QByteArray("activated"));

        // Killed outright, the first copy leaves its socket file behind; a
        // copy that died during the hand-over also leaves its lock.
        first.kill();
        first.waitForFinished();
        QFile lock(SingleInstance(name).lockFileName());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("99999999\ninstancehelper\n" + QSysInfo::machineHostName().toUtf8() + '\n');
        lock.close();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(startHelper(third, name), QByteArray("first"));
        QVERIFY(clock.elapsed() < 2000); // the dead lock was not waited out
        third.kill();
        third.waitForFinished();
    }

    void simultaneousStartsMakeExactlyOneFirst()
    {
        for (int round = 0; round < 3; ++round) {
            const QString name = freshName();
            QProcess a, b;
            a.start(QStringLiteral(INSTANCE_HELPER), {name});
            b.start(QStringLiteral(INSTANCE_HELPER), {name});
            const QList<QByteArray> lines{nextLine(a), nextLine(b)};
            QCOMPARE(lines.count("first"), 1);
            QCOMPARE(lines.count("second"), 1);
            a.kill();
            b.kill();
            a.waitForFinished();
            b.waitForFinished();
        }
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"

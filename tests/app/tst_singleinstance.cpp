#include "app/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <QTemporaryDir>
#include <QUuid>

#include <sys/stat.h>
#include <unistd.h>

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
    // With no runtime folder (a plain su, cron) and a umask that would leave
    // everything open, the socket and its lock are in a folder only this
    // user may enter. A folder planted there that others may use, or that
    // is another user's, is refused: each copy then runs alone.
    void withoutARuntimeFolderOnlyTheUserGetsIn_data()
    {
        QTest::addColumn<int>("plantedMode");
        QTest::addColumn<bool>("someoneElses");
        QTest::newRow("fresh") << -1 << false;
        QTest::newRow("planted open") << 0777 << false;
        if (::getuid() == 0)
            QTest::newRow("planted by another user") << 0700 << true;
    }

    void withoutARuntimeFolderOnlyTheUserGetsIn()
    {
        QFETCH(int, plantedMode);
        QFETCH(bool, someoneElses);
        QTemporaryDir temp;
        const QString folder = temp.filePath("tessar-" + QString::number(::getuid()));
        if (plantedMode >= 0) {
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), mode_t(plantedMode)) == 0);
            if (someoneElses)
                QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("XDG_RUNTIME_DIR");
        environment.insert("TMPDIR", temp.path());
        QProcess a, b;
        for (QProcess *process : {&a, &b}) {
            process->setProcessEnvironment(environment);
            process->setChildProcessModifier([] { ::umask(0); });
        }
        a.start(INSTANCE_HELPER, {"tessar"});
        QCOMPARE(nextLine(a), "first");
        b.start(INSTANCE_HELPER, {"tessar"});
        const QByteArray second = nextLine(b);
        a.kill();
        a.waitForFinished();
        b.kill();
        b.waitForFinished();
        if (plantedMode >= 0) {
            QCOMPARE(second, "first");
            QVERIFY(a.readAllStandardError().contains("is not used for the running-copy socket"));
            return;
        }
        QCOMPARE(second, "second");
        struct stat info {};
        QVERIFY(::lstat(QFile::encodeName(folder).constData(), &info) == 0);
        QCOMPARE(info.st_uid, ::getuid());
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
    }

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

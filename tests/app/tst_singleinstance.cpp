#include "app/raisewindow.h"
#include "app/singleinstance.h"

#include <QFile>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QUuid>
#include <QWidget>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using Tessar::SingleInstance;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    static QString freshName()
    {
        return QStringLiteral("tessar-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    }

    static bool startHelper(QProcess &process, const QString &name)
    {
        process.start(QStringLiteral(INSTANCE_HELPER), {name});
        return process.waitForStarted();
    }

    static QByteArray firstLine(QProcess &process)
    {
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        return process.readLine().trimmed();
    }

    // A socket file with nobody behind it, as a copy that crashed leaves it.
    static void leaveDeadSocket(const QString &path)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = QFile::encodeName(path);
        QVERIFY(bytes.size() < qsizetype(sizeof(address.sun_path)));
        memcpy(address.sun_path, bytes.constData(), bytes.size());
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFile::exists(path));
    }

private slots:
    void secondCopyInTheSameProcessKnocks()
    {
        const QString name = freshName();
        SingleInstance first(name);
        QSignalSpy knocks(&first, &SingleInstance::activationRequested);
        QVERIFY(first.start());
        QVERIFY(first.start()); // asking again changes nothing

        for (int i = 1; i <= 2; ++i) {
            SingleInstance later(name);
            QVERIFY(!later.start());
            QTRY_COMPARE(knocks.count(), i);
        }
    }

    void strangersAreIgnored()
    {
        const QString name = freshName();
        SingleInstance first(name);
        QSignalSpy knocks(&first, &SingleInstance::activationRequested);
        QVERIFY(first.start());

        QLocalSocket stranger;
        stranger.connectToServer(first.serverName());
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write(QByteArray(4096, 'x') + "\n");
        stranger.waitForBytesWritten(1000);
        QTest::qWait(200);
        QCOMPARE(knocks.count(), 0);

        SingleInstance later(name);
        QVERIFY(!later.start());
        QTRY_COMPARE(knocks.count(), 1);
    }

    void leftoversOfACrashDoNotBlock()
    {
        const QString name = freshName();
        const QString socketPath = SingleInstance(name).serverName();
        leaveDeadSocket(socketPath);
        // A lock whose owner no longer exists (no process can have this id).
        QFile lock(socketPath + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("99999999\ntessar\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        QElapsedTimer clock;
        clock.start();
        SingleInstance first(name);
        QVERIFY(first.start());
        QVERIFY(clock.elapsed() < 2000);
        SingleInstance later(name);
        QVERIFY(!later.start());
    }

    void separateProcessesHandOver()
    {
        const QString name = freshName();
        QProcess first;
        QVERIFY(startHelper(first, name));
        QCOMPARE(firstLine(first), QByteArray("first"));

        QProcess second;
        QVERIFY(startHelper(second, name));
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(firstLine(first), QByteArray("activated"));

        // Killed outright, the first copy leaves its socket file behind.
        first.kill();
        first.waitForFinished();
        QProcess third;
        QVERIFY(startHelper(third, name));
        QCOMPARE(firstLine(third), QByteArray("first"));
        third.kill();
        third.waitForFinished();
    }

    void simultaneousStartsMakeOneFirst()
    {
        for (int round = 0; round < 3; ++round) {
            const QString name = freshName();
            QProcess a, b;
            QVERIFY(startHelper(a, name));
            QVERIFY(startHelper(b, name));
            const QList<QByteArray> lines{firstLine(a), firstLine(b)};
            QCOMPARE(lines.count("first"), 1);
            QCOMPARE(lines.count("second"), 1);
            for (QProcess *p : {&a, &b}) {
                p->kill();
                p->waitForFinished();
            }
        }
    }

    void bringToFrontRestoresAMinimisedWindow()
    {
        QWidget window;
        window.showMinimized();
        Tessar::bringToFront(&window);
        QVERIFY(window.isVisible());
        QVERIFY(!(window.windowState() & Qt::WindowMinimized));
        Tessar::bringToFront(nullptr);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"

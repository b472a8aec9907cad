#include "app/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace Tessar {

namespace {

const QByteArray Knock = QByteArrayLiteral("tessar:activate\n");
// Followed by a file path and a line feed: a start given a file to open.
const QByteArray OpenKnock = QByteArrayLiteral("tessar:open:");

// A running copy answers in microseconds; these only bound the wait when
// something is badly wrong, so a start never hangs.
constexpr int LockWaitMs = 3000;
constexpr int ConnectWaitMs = 1000;
constexpr int KnockWaitMs = 5000;
#ifndef Q_OS_UNIX
// The lock is held only for the hand-over itself, so one this old was left
// by a copy that died in the middle of it.
constexpr int StaleLockMs = 10000;
#endif
// Room for the longest path the system allows.
constexpr qint64 MaxKnockBytes = 8192;

QString socketDirectory()
{
    // The runtime folder belongs to the user alone; another user cannot put
    // a socket in our way there as they could in the shared temp folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

QString userKey()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    user.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return user.isEmpty() ? QStringLiteral("user") : user;
#endif
}

QString socketPath(const QString &name)
{
    if (name.contains(QLatin1Char('/')))
        return name;
    return socketDirectory() + QLatin1Char('/') + name;
}

#ifdef Q_OS_UNIX
// Held for the hand-over only. The system lets go of it when its holder
// ends, even by a crash, so none is ever left behind; and unlike a lock
// file's contents, taking it writes nothing that must reach the disk.
class HandOverLock
{
public:
    explicit HandOverLock(const QString &path)
        : mFd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        const QDeadlineTimer deadline(LockWaitMs);
        while (mFd >= 0 && ::flock(mFd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired())
                release();
            else
                QThread::msleep(2);
        }
    }
    ~HandOverLock() { release(); }
    HandOverLock(const HandOverLock &) = delete;
    HandOverLock &operator=(const HandOverLock &) = delete;

private:
    void release()
    {
        if (mFd >= 0)
            ::close(mFd);
        mFd = -1;
    }

    int mFd;
};
#else
class HandOverLock
{
public:
    explicit HandOverLock(const QString &path)
        : mLock(path)
    {
        mLock.setStaleLockTime(StaleLockMs);
        mLock.tryLock(LockWaitMs);
    }

private:
    QLockFile mLock;
};
#endif

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : SingleInstance(defaultName(), parent)
{
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), m_serverName(socketPath(name))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::defaultName()
{
    return QStringLiteral("tessar-") + userKey();
}

bool SingleInstance::start(const QString &fileToOpen)
{
    if (m_server && m_server->isListening())
        return true;

    // Two starts in the same instant take turns here, so they cannot both
    // find nobody listening and both become first. If the lock cannot be had
    // (a folder we may not write to) the hand-over still works without it.
    const HandOverLock lock(lockFileName());

    if (knockAtRunningCopy(fileToOpen))
        return false;
    listen();
    return true;
}

bool SingleInstance::knockAtRunningCopy(const QString &fileToOpen)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(ConnectWaitMs))
        return false;
    const QByteArray path = QFileInfo(fileToOpen).absoluteFilePath().toUtf8();
    if (fileToOpen.isEmpty() || path.contains('\n') || path.size() + OpenKnock.size() >= MaxKnockBytes)
        socket.write(Knock);
    else
        socket.write(OpenKnock + path + '\n');
    socket.waitForBytesWritten(ConnectWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(ConnectWaitMs);
    return true;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptKnocks);
    if (m_server->listen(m_serverName))
        return;
    // Nobody answered on the socket, so a file left there is from a copy
    // that crashed. Without a server the program still runs, alone.
    QLocalServer::removeServer(m_serverName);
    m_server->listen(m_serverName);
}

void SingleInstance::acceptKnocks()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readKnock(socket); });
        // A peer that connects and says nothing is not kept forever.
        QTimer::singleShot(KnockWaitMs, socket, &QObject::deleteLater);
        readKnock(socket);
    }
}

void SingleInstance::readKnock(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxKnockBytes)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(MaxKnockBytes + 1);
    socket->disconnectFromServer();
    if (line == Knock) {
        emit activationRequested();
    } else if (line.startsWith(OpenKnock) && line.endsWith('\n')) {
        emit activationRequested();
        const QString path = QString::fromUtf8(line.mid(OpenKnock.size()).chopped(1));
        if (!path.isEmpty())
            emit openRequested(path);
    }
}

} // namespace Tessar

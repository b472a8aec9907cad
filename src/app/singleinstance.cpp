#include "app/singleinstance.h"

#include "app/handoverchannel.h"
#include "core/document/modules.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace Tessar {

namespace {

const QByteArray Knock = QByteArrayLiteral("tessar:activate\n");
// Followed by a file path and a line feed: a start given a file to open.
const QByteArray OpenKnock = QByteArrayLiteral("tessar:open:");

// How long a later start waits for the running copy to listen: that copy
// may itself be starting, on a busy machine. Past it, the later start runs
// alone rather than hang.
constexpr int ListenWaitMs = 5000;
constexpr int KnockAgainMs = 5;

QString userKey();

#ifdef Q_OS_UNIX
// Why `folder` may not hold the socket: it must be a folder of this user's
// that nobody else may enter. Empty when it will do.
QString privateFolderProblem(const QByteArray &folder)
{
    struct stat info {};
    if (::lstat(folder.constData(), &info) != 0)
        return qt_error_string(errno);
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("it is not a folder");
    if (info.st_uid != ::getuid())
        return QStringLiteral("it belongs to another user");
    if (info.st_mode & 077)
        return QStringLiteral("others may open it (mode %1, where 700 is needed)").arg(info.st_mode & 0777, 3, 8, QLatin1Char('0'));
    return QString();
}
#endif

// The runtime folder belongs to the user alone. Without one (a plain su,
// cron, some remote logins) the socket goes in a folder of the user's own
// in the shared temp folder, made private; one that another user planted
// there, or that others may enter, is refused: a copy that listened or
// knocked there could be reached, or fooled, by them.
QString socketDirectory(QString *problem)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
#ifdef Q_OS_UNIX
    const QString folder = QDir::tempPath() + QStringLiteral("/tessar-") + userKey();
    const QByteArray path = QFile::encodeName(folder);
    struct stat info {};
    // What an older copy left here is its own socket, not a folder.
    if (::lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == ::getuid())
        ::unlink(path.constData());
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        *problem = QStringLiteral("%1 could not be made: %2").arg(folder, qt_error_string(errno));
        return QString();
    }
    if (const QString why = privateFolderProblem(path); !why.isEmpty()) {
        *problem = QStringLiteral("%1 is not used for the running-copy socket: %2.").arg(folder, why);
        return QString();
    }
    return folder;
#else
    Q_UNUSED(problem);
    return QDir::tempPath();
#endif
}

// Only a socket of this user's is knocked at: a file name handed to
// anyone else's would be theirs to act on.
bool ownSocket(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISSOCK(info.st_mode)
        && info.st_uid == ::getuid();
#else
    Q_UNUSED(path);
    return true;
#endif
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

QString socketPath(const QString &name, QString *problem)
{
    if (name.contains(QLatin1Char('/')))
        return name;
    const QString folder = socketDirectory(problem);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

QByteArray knockFor(const QString &fileToOpen)
{
    const QByteArray path = QFileInfo(fileToOpen).absoluteFilePath().toUtf8();
    if (fileToOpen.isEmpty() || path.contains('\n') || path.size() + OpenKnock.size() >= MaxKnockBytes)
        return Knock;
    return OpenKnock + path + '\n';
}

// Loaded once, on first use, and never unloaded: the listener it makes
// lives as long as the program.
HandOverChannel *handOverChannel()
{
    static HandOverChannel *const channel = [] () -> HandOverChannel * {
        if (HandOverChannel *loaded = moduleObject<HandOverChannel>(HandOverModuleName, HandOverChannelEntryName))
            return loaded;
        qWarning("Tessar: the hand-over module %s was not found; this copy runs alone", HandOverModuleName);
        return nullptr;
    }();
    return channel;
}

} // namespace

#ifdef Q_OS_UNIX
// Taken by the first copy and held for as long as it runs. The system lets
// go of it when its holder ends, even by a crash, so none is ever left
// behind; and taking it writes nothing that must reach the disk.
class RunningCopyLock
{
public:
    enum Outcome { Taken, HeldElsewhere, Unavailable };

    explicit RunningCopyLock(const QString &path)
        : mFd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
    }
    ~RunningCopyLock()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    RunningCopyLock(const RunningCopyLock &) = delete;
    RunningCopyLock &operator=(const RunningCopyLock &) = delete;

    Outcome take()
    {
        if (mFd < 0)
            return Unavailable;
        while (::flock(mFd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                return HeldElsewhere;
            if (errno != EINTR)
                return Unavailable;
        }
        return Taken;
    }

private:
    int mFd;
};
#else
class RunningCopyLock
{
public:
    enum Outcome { Taken, HeldElsewhere, Unavailable };

    explicit RunningCopyLock(const QString &path)
        : mLock(path)
    {
        // Held for the program's life: only a holder that is gone makes it stale.
        mLock.setStaleLockTime(0);
    }

    Outcome take()
    {
        if (mLock.tryLock(0))
            return Taken;
        return mLock.error() == QLockFile::LockFailedError ? HeldElsewhere : Unavailable;
    }

private:
    QLockFile mLock;
};
#endif

SingleInstance::SingleInstance(QObject *parent)
    : SingleInstance(defaultName(), parent)
{
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
{
    m_serverName = socketPath(name, &m_problem);
    if (!m_problem.isEmpty())
        qWarning("Tessar: %s This copy runs alone.", qPrintable(m_problem));
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock, so a start that takes the lock never
    // finds this copy's socket still there.
    delete m_server;
    m_lock.reset();
}

QString SingleInstance::defaultName()
{
    return QStringLiteral("tessar-") + userKey();
}

bool SingleInstance::start(const QString &fileToOpen)
{
    if (m_lock || m_serverName.isEmpty())
        return true;

    const QByteArray knock = knockFor(fileToOpen);
    auto lock = std::make_unique<RunningCopyLock>(lockFileName());
    const QDeadlineTimer deadline(ListenWaitMs);
    for (;;) {
        switch (lock->take()) {
        case RunningCopyLock::Taken:
            m_lock = std::move(lock);
            return true;
        case RunningCopyLock::Unavailable:
            // No lock here (a folder we may not write to): whoever answers
            // is the running copy, and without one this copy becomes it.
            if (HandOverChannel *channel = handOverChannel();
                channel && ownSocket(m_serverName) && channel->knock(m_serverName, knock))
                return false;
            m_lock = std::move(lock);
            listen();
            return true;
        case RunningCopyLock::HeldElsewhere:
            break;
        }
        HandOverChannel *channel = handOverChannel();
        // Unable to reach the running copy, this one runs alone and never
        // listens in its place.
        if (!channel)
            return true;
        if (ownSocket(m_serverName) && channel->knock(m_serverName, knock))
            return false;
        if (deadline.hasExpired())
            return true;
        QThread::msleep(KnockAgainMs);
    }
}

void SingleInstance::listen()
{
    if (m_server || !m_lock)
        return;
    if (HandOverChannel *channel = handOverChannel())
        m_server = channel->listen(m_serverName, this, [this](const QByteArray &line) { heard(line); });
}

void SingleInstance::heard(const QByteArray &line)
{
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

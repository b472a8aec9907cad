#include "core/files/keptcopy.h"

#include "core/files/writeall.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tessar {

namespace {

// Closes a descriptor on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : mFd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return mFd; }
    bool valid() const { return mFd >= 0; }
    // Closing can report a failed write-back; the caller wants to know.
    bool reset()
    {
        const int fd = mFd;
        mFd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int mFd;
};

QString systemError(const QString &what, int code)
{
    return what + QStringLiteral(": ") + qt_error_string(code);
}

// Copies everything `from` holds into `to`; errno tells why it stopped.
bool copyContent(int from, int to)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!writeAll(to, buffer, got))
            return false;
    }
}

} // namespace

QString keptCopyFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("Corvant/Tessar"));
}

QString keepCopy(const QString &path, const QString &folder, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return QString();
    };

    Descriptor source(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!source.valid())
        return fail(systemError(QDir::toNativeSeparators(path), errno));
    struct stat info {};
    if (::fstat(source.get(), &info) != 0)
        return fail(systemError(QDir::toNativeSeparators(path), errno));
    // A device or a pipe has no content to keep, and reading one may never end.
    if (!S_ISREG(info.st_mode))
        return fail(QStringLiteral("%1 is not a plain file").arg(QDir::toNativeSeparators(path)));

    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder)));

    const QFileInfo original(path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = original.suffix().isEmpty() ? QString() : QLatin1Char('.') + original.suffix();
    const QString base = original.completeBaseName() + QLatin1Char('-') + stamp;
    const QDir into(folder);

    for (int n = 1; n <= 1000; ++n) {
        const QString name = n == 1 ? base + suffix : base + QLatin1Char('-') + QString::number(n) + suffix;
        const QString copy = into.filePath(name);
        const QByteArray native = QFile::encodeName(copy);
        Descriptor target(::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!target.valid()) {
            if (errno == EEXIST)
                continue;
            return fail(systemError(QDir::toNativeSeparators(copy), errno));
        }
        // The copy must be safe on disk before the original is touched.
        if (!copyContent(source.get(), target.get()) || ::fsync(target.get()) != 0 || !target.reset()) {
            const int code = errno;
            ::unlink(native.constData());
            return fail(systemError(QDir::toNativeSeparators(copy), code));
        }
        return copy;
    }
    return fail(QStringLiteral("no free name for a copy in %1").arg(QDir::toNativeSeparators(folder)));
}

} // namespace Tessar

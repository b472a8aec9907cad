#include "core/files/filesave.h"

#include "core/files/keptcopy.h"
#include "core/files/writeall.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

// Plain system calls throughout, because every short write must count as a
// failure: a file cut off by a full disk must never pass for a saved one.

namespace Tessar {

namespace {

// Far beyond any sample file. Copying a larger file aside would stall the
// save and fill the cache; such a file is not written over in place.
constexpr qint64 MaxKeptCopy = qint64(256) * 1024 * 1024;

// The access list and the user's own attributes are what shared lab folders
// hang on a file (who else may read it, a sample's origin); the system's
// and the security module's attributes are not ours to copy.
bool carried(const char *name)
{
    return std::strncmp(name, "user.", 5) == 0 || std::strcmp(name, "system.posix_acl_access") == 0;
}

// Gives the new file the old one's access list and user attributes. False
// when any of them could not be read or set: the new file would then lose
// what the old one had.
bool copyAttributes(const QByteArray &from, int to)
{
    ssize_t size = ::listxattr(from.constData(), nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP;
    QByteArray names(size, '\0');
    size = ::listxattr(from.constData(), names.data(), size_t(names.size()));
    if (size < 0)
        return false;
    names.truncate(size);
    bool hasAccessList = false;
    for (const char *name = names.constData(); name < names.constData() + names.size(); name += std::strlen(name) + 1) {
        if (!carried(name))
            continue;
        hasAccessList = hasAccessList || std::strcmp(name, "system.posix_acl_access") == 0;
        const ssize_t length = ::getxattr(from.constData(), name, nullptr, 0);
        if (length < 0)
            return false;
        QByteArray value(length, '\0');
        const ssize_t got = ::getxattr(from.constData(), name, value.data(), size_t(value.size()));
        if (got < 0 || ::fsetxattr(to, name, value.constData(), size_t(got), 0) != 0)
            return false;
    }
    // A folder's default access list gave the new file one the old did not have.
    if (!hasAccessList && ::fremovexattr(to, "system.posix_acl_access") != 0 && errno != ENODATA && errno != ENOTSUP)
        return false;
    return true;
}

enum class Replace {
    Done,
    Failed,
    NotSafe,   // the new file could not take over the old one's owner, group or attributes
};

// The new file is written beside the old one under a name of its own,
// given the old one's owner, group and mode, and renamed over it.
Replace replaceFile(const QString &path, const QByteArray &bytes, const struct stat *old, QString &error)
{
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + '/' + QFile::encodeName(QLatin1Char('.') + info.fileName()) + '.'
            + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".new";
        // A new file gets the usual mode through the umask; a replacement
        // stays private until it has the old file's mode.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) {
            error = qt_error_string(errno);
            return Replace::Failed;
        }
    }
    if (fd < 0) {
        error = qt_error_string(EEXIST);
        return Replace::Failed;
    }

    auto abandon = [&](Replace outcome, int code) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.constData());
        if (outcome == Replace::Failed)
            error = qt_error_string(code);
        return outcome;
    };

    if (old) {
        struct stat fresh {};
        if (::fstat(fd, &fresh) != 0)
            return abandon(Replace::Failed, errno);
        if ((fresh.st_uid != old->st_uid || fresh.st_gid != old->st_gid)
            && ::fchown(fd, old->st_uid, old->st_gid) != 0)
            return abandon(Replace::NotSafe, errno);
        if (!copyAttributes(QFile::encodeName(path), fd))
            return abandon(Replace::NotSafe, errno);
        // After the change of owner, which may clear the set-id bits.
        if (::fchmod(fd, old->st_mode & 07777) != 0)
            return abandon(Replace::Failed, errno);
    }
    if (!writeAll(fd, bytes.constData(), bytes.size()) || ::fsync(fd) != 0)
        return abandon(Replace::Failed, errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return abandon(Replace::Failed, errno);
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        return abandon(Replace::Failed, errno);

    // The new name must reach the disk as well as the new content.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return Replace::Done;
}

// The file itself is written over: everything about it but its content
// stays as it was.
FileSaveResult writeInPlace(const QString &path, const QByteArray &bytes, bool regular, const QString &copyFolder)
{
    FileSaveResult result;
    result.method = FileSaveResult::InPlace;
    auto fail = [&](const QString &why) {
        result.ok = false;
        result.error = why;
        return result;
    };

    // Opened before anything else happens, so a file we may not write to
    // is reported with nothing done. Without waiting: a pipe nobody reads
    // would otherwise hold the program here for good.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(qt_error_string(errno));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    QString copyError;
    const QString copy = regular ? keepCopy(path, copyFolder, &copyError) : QString();
    if (regular && copy.isEmpty()) {
        ::close(fd);
        return fail(QStringLiteral("A copy of the file could not be kept before writing over it (%1).").arg(copyError));
    }

    bool written = writeAll(fd, bytes.constData(), bytes.size());
    int code = errno;
    if (written && regular) {
        written = ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
        code = errno;
    }
    if (::close(fd) != 0 && written) {
        written = false;
        code = errno;
    }
    if (!written) {
        result.keptCopy = copy;
        return fail(qt_error_string(code));
    }
    if (!copy.isEmpty())
        QFile::remove(copy);
    return result;
}

} // namespace

FileSaveResult saveFile(const QString &path, const QByteArray &bytes, const QString &copyFolder)
{
    const QFileInfo info(path);
    // A link is followed: the file it names is the one saved.
    const QString target = info.exists() ? info.canonicalFilePath() : path;
    struct stat old {};
    const bool exists = ::stat(QFile::encodeName(target).constData(), &old) == 0;

    if (exists) {
        const bool regular = S_ISREG(old.st_mode);
        const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
        const bool inPlace = !regular || old.st_nlink > 1
            || ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0;
        if (inPlace && regular && old.st_size > MaxKeptCopy) {
            FileSaveResult refused;
            refused.ok = false;
            refused.error = QStringLiteral("The file is too large to keep a copy of before writing over it.");
            return refused;
        }
        if (inPlace)
            return writeInPlace(target, bytes, regular, copyFolder);
        // A file we may not write to is not ours to replace either.
        if (::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0) {
            FileSaveResult refused;
            refused.ok = false;
            refused.error = qt_error_string(errno);
            return refused;
        }
    }

    FileSaveResult result;
    const Replace replaced = replaceFile(target, bytes, exists ? &old : nullptr, result.error);
    if (replaced == Replace::NotSafe)
        return writeInPlace(target, bytes, true, copyFolder);
    result.ok = replaced == Replace::Done;
    return result;
}

} // namespace Tessar

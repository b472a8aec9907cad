#include "core/files/filesave.h"
#include "core/files/keptcopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace Tessar;

namespace {

struct stat statOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        qFatal("cannot stat %s", qPrintable(path));
    return info;
}

QByteArray attributeOf(const QString &path, const char *name)
{
    char value[4096];
    const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, value, sizeof value);
    return size < 0 ? QByteArray() : QByteArray(value, size);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString &path, const QByteArray &bytes, mode_t mode = 0644)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    ::chmod(QFile::encodeName(path).constData(), mode);
}

// A group the file can be given that is not the one a new file gets: any
// group at all for root, else one of the user's supplementary groups.
std::optional<gid_t> otherGroup()
{
    if (::geteuid() == 0)
        return gid_t(4242);
    gid_t groups[256];
    const int count = ::getgroups(256, groups);
    for (int i = 0; i < count; ++i)
        if (groups[i] != ::getegid())
            return groups[i];
    return std::nullopt;
}

// Writes fail past `bytes` for as long as this lives, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, mOld.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }

private:
    rlimit mOld {};
    void (*mOldHandler)(int);
};

} // namespace

// Saving over a file that others share keeps what they rely on; a save
// that goes wrong loses nothing.
class TestFileSave : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    QString path(const char *name) const { return mDir.filePath(QLatin1String(name)); }
    QStringList keptCopies() const { return QDir(path("kept")).entryList(QDir::Files); }

private slots:
    void ownFileIsReplacedKeepingGroupAndMode()
    {
        const QString file = path("own.kwl");
        put(file, "old", 02640);
        const std::optional<gid_t> group = otherGroup();
        if (group)
            QCOMPARE(::chown(QFile::encodeName(file).constData(), uid_t(-1), *group), 0);
        const ino_t before = statOf(file).st_ino;
        QVERIFY(QFile::link(file, path("link-to-own.kwl")));

        const FileSaveResult result = saveFile(path("link-to-own.kwl"), "new", path("kept"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.method, FileSaveResult::Replaced);
        const struct stat after = statOf(file);
        QVERIFY(after.st_ino != before);   // a new file took the old one's place
        QCOMPARE(contentOf(file), QByteArray("new"));
        QVERIFY(QFileInfo(path("link-to-own.kwl")).isSymLink());
        QCOMPARE(after.st_mode & 07777, mode_t(02640));
        if (!group)
            QSKIP("the user has no second group to check that the file keeps its group");
        QCOMPARE(after.st_gid, *group);
    }

    // A shared lab folder hangs an access list and attributes of its own on
    // a file; a save keeps them. A file without an access list gets none
    // from the folder's default one.
    void replacedFileKeepsAccessListAndAttributes()
    {
        const QString folder = path("shared"), file = path("shared/lab.kwl"), plain = path("shared/plain.kwl");
        QVERIFY(QDir().mkpath(folder));
        put(file, "old", 0640);
        put(plain, "old", 0640);
        if (::setxattr(QFile::encodeName(file).constData(), "user.origin", "bench 4", 7, 0) != 0)
            QSKIP(qPrintable("the temporary folder keeps no user attributes: " + qt_error_string(errno)));
        if (QStandardPaths::findExecutable("setfacl").isEmpty())
            QSKIP("setfacl is not installed");
        if (QProcess::execute("setfacl", {"-m", "u:65534:rw", file}) != 0
            || QProcess::execute("setfacl", {"-d", "-m", "u:65534:r", folder}) != 0)
            QSKIP("the temporary folder keeps no access lists");
        const QByteArray acl = attributeOf(file, "system.posix_acl_access");
        QVERIFY(!acl.isEmpty());

        for (const QString &saved : {file, plain}) {
            const FileSaveResult result = saveFile(saved, "new", path("kept"));
            QVERIFY2(result.ok, qPrintable(result.error));
            QCOMPARE(result.method, FileSaveResult::Replaced);
            QCOMPARE(contentOf(saved), QByteArray("new"));
        }
        QCOMPARE(attributeOf(file, "user.origin"), QByteArray("bench 4"));
        QCOMPARE(attributeOf(file, "system.posix_acl_access"), acl);
        QCOMPARE(statOf(file).st_mode & 07777, mode_t(0660));   // the group bits show the list's mask
        QCOMPARE(attributeOf(plain, "system.posix_acl_access"), QByteArray());
        QCOMPARE(statOf(plain).st_mode & 07777, mode_t(0640));
    }

    void hardLinkedFileIsWrittenInPlace()
    {
        const QString file = path("linked.kwl");
        put(file, "old content", 0664);
        QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(path("other-name.kwl")).constData()) == 0);

        const FileSaveResult result = saveFile(file, "new", path("kept"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.method, FileSaveResult::InPlace);
        QCOMPARE(statOf(file).st_ino, statOf(path("other-name.kwl")).st_ino);
        QCOMPARE(contentOf(path("other-name.kwl")), QByteArray("new"));   // cut to the new length
        QCOMPARE(statOf(file).st_mode & 07777, mode_t(0664));
        QVERIFY(result.keptCopy.isEmpty());
        QCOMPARE(keptCopies(), QStringList());   // a save that worked needs no copy

        // Not files at all: a device takes the bytes, a pipe nobody reads
        // is refused at once instead of being waited on.
        QVERIFY(saveFile(QStringLiteral("/dev/null"), "anything", path("kept")).ok);
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
        QVERIFY(!saveFile(path("pipe"), "anything", path("kept")).ok);
        QCOMPARE(keptCopies(), QStringList());
    }

    // The disk fills up half-way through the new file: the old one stays as
    // it was and needs no copy. (Writing in place, the window's message
    // names the copy; its test covers that.)
    void diskFullWhileReplacingLeavesTheOldFile()
    {
        const QByteArray old(1000, 'o');
        put(path("single.kwl"), old);
        FileSaveResult replaced;
        {
            FileSizeLimit limit(4096);
            replaced = saveFile(path("single.kwl"), QByteArray(10000, 'n'), path("kept"));
        }
        QVERIFY(!replaced.ok && !replaced.error.isEmpty() && replaced.keptCopy.isEmpty());
        QCOMPARE(contentOf(path("single.kwl")), old);
        QCOMPARE(QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("single")),
                 QStringList{QStringLiteral("single.kwl")});
    }
};

QTEST_GUILESS_MAIN(TestFileSave)
#include "tst_filesave.moc"

#include "core/files/recovery.h"

#include "core/files/filesave.h"
#include "core/files/keptcopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace Tessar {

namespace {

const QString NoteSuffix = QStringLiteral(".note");
const QString RecoveryPrefix = QStringLiteral("unsaved-");

QString stamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
}

bool makeFolder(QString *error)
{
    const QString folder = recoveryFolder();
    if (QDir().mkpath(folder)) {
        // Sample lists are nobody else's business.
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return true;
    }
    if (error)
        *error = QStringLiteral("the folder %1 could not be made").arg(QDir::toNativeSeparators(folder));
    return false;
}

} // namespace

QString recoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // Only an absolute path counts, as the desktop's rules say.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Corvant/Tessar");
}

QString newRecoveryFilePath()
{
    return recoveryFolder() + QLatin1Char('/') + RecoveryPrefix + stamp() + QLatin1Char('-')
        + QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".kwl");
}

bool writeRecoveryFile(const QString &path, const QByteArray &bytes, const QString &originalPath, QString *error)
{
    if (!makeFolder(error))
        return false;
    // The same writer as Save: the file is replaced in one step.
    const FileSaveResult saved = saveFile(path, bytes, keptCopyFolder());
    if (!saved.ok) {
        if (error)
            *error = saved.error;
        return false;
    }
    QSettings note(path + NoteSuffix, QSettings::IniFormat);
    note.setValue(QStringLiteral("Original"), originalPath);
    note.setValue(QStringLiteral("Written"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
    note.sync();
    if (note.status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("the note beside %1 could not be written").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

QList<RecoveryFile> recoveryFiles(const QString &except)
{
    QList<RecoveryFile> found;
    const QDir folder(recoveryFolder());
    const QStringList names = folder.entryList({RecoveryPrefix + QStringLiteral("*.kwl")}, QDir::Files, QDir::Name);
    const QString skipped = except.isEmpty() ? QString() : QFileInfo(except).absoluteFilePath();
    for (const QString &name : names) {
        RecoveryFile entry;
        entry.path = folder.absoluteFilePath(name);
        if (entry.path == skipped)
            continue;
        const QSettings note(entry.path + NoteSuffix, QSettings::IniFormat);
        entry.originalPath = note.value(QStringLiteral("Original")).toString();
        entry.written = QDateTime::fromString(note.value(QStringLiteral("Written")).toString(), Qt::ISODateWithMs);
        // A note lost or damaged still leaves the samples worth offering.
        if (!entry.written.isValid())
            entry.written = QFileInfo(entry.path).lastModified();
        found.append(entry);
    }
    std::sort(found.begin(), found.end(),
              [](const RecoveryFile &a, const RecoveryFile &b) { return a.written > b.written; });
    return found;
}

void removeRecoveryFile(const QString &path)
{
    if (path.isEmpty())
        return;
    QFile::remove(path);
    QFile::remove(path + NoteSuffix);
}

QString keepCopyInRecoveryFolder(const QString &file, QString *error)
{
    if (!makeFolder(error))
        return QString();
    return keepCopy(file, recoveryFolder(), error);
}

} // namespace Tessar

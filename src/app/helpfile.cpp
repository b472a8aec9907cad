#include "app/helpfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace Tessar {

namespace {

QString foundHelpFile;

QString withSlash(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

} // namespace

QStringList helpSearchDirs(const QString &programDir, const QString &pathVariable)
{
    QStringList dirs;
    if (!programDir.isEmpty()) {
        dirs << withSlash(programDir);
        // An installed program keeps its data apart from its binary
        // (/usr/bin/tessar, /usr/share/tessar/WNDO5.hlp): that folder is
        // still "beside the program" to the user, so it comes before PATH.
        dirs << withSlash(QDir::cleanPath(programDir + QLatin1String("/../share/tessar")));
    }
    if (pathVariable.isEmpty())
        return dirs;
    // An empty entry, wherever it stands (leading, doubled or trailing
    // colon), is the root folder: the help search never looks in whatever
    // folder the program happened to be started from.
    const QStringList entries = pathVariable.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    for (const QString &entry : entries)
        dirs << withSlash(entry.isEmpty() ? QDir::rootPath() : entry);
    return dirs;
}

QString findHelpFileIn(const QString &programDir, const QString &pathVariable)
{
    const QString name = QString::fromLatin1(HelpFileName);
    const QStringList dirs = helpSearchDirs(programDir, pathVariable);
    for (const QString &dir : dirs) {
        const QString candidate = dir + name;
        // A folder that is missing or unreadable simply holds no help file.
        if (QFileInfo(candidate).isFile())
            return QDir::current().absoluteFilePath(candidate);
    }
    return QString();
}

bool FindHelpFile()
{
    const QString found = findHelpFileIn(QCoreApplication::applicationDirPath(),
                                         qEnvironmentVariable("PATH"));
    if (found.isEmpty())
        return false;
    foundHelpFile = found;
    return true;
}

QString helpFilePath()
{
    return foundHelpFile;
}

void warnHelpMissing(QWidget *parent)
{
    const QString text = QStringLiteral("WNDO5.hlp not found in your path.")
        + QStringLiteral("\r\n\r\n")
        + QStringLiteral("Windows searches your PATH environment variable for help files, "
                         "so you need to copy WNDO5.hlp to a directory included in your "
                         "PATH if you wish to obtain help while running Larkspur Programmer.");
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Larkspur help not available"), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

} // namespace Tessar

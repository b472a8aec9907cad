#include "core/document/modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace Tessar {

namespace {

QStringList moduleFolders()
{
    QStringList folders;
    const QString named = qEnvironmentVariable("TESSAR_MODULE_DIR");
    if (!named.isEmpty())
        folders << named;
    const QString programDir = QCoreApplication::applicationDirPath();
    folders << programDir << QDir::cleanPath(programDir + QLatin1String("/" TESSAR_MODULE_DIR_FROM_PROGRAM));
    return folders;
}

} // namespace

QFunctionPointer moduleEntry(const char *moduleName, const char *entryName)
{
    for (const QString &folder : moduleFolders()) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(moduleName);
        if (!QFileInfo::exists(path))
            continue;
        QLibrary module(path);
        if (const QFunctionPointer entry = module.resolve(entryName))
            return entry;
    }
    return nullptr;
}

} // namespace Tessar

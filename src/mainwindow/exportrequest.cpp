#include "exportrequest.h"

#include "core/document/state.h"

#include <QDir>
#include <QFileInfo>

namespace Tessar {

QString documentFolder(const State &state)
{
    if (!state.filePath.isEmpty()) {
        const QFileInfo file(state.filePath);
        if (file.absoluteDir().exists())
            return file.absolutePath();
    }
    return state.profileDir;
}

CommonDialogs::FileRequest exportRequest(const State &state, const QString &title, const QString &filter,
                                         const QString &extension)
{
    CommonDialogs::FileRequest request;
    request.title = title;
    request.filter = filter;
    request.defaultExt = extension;
    request.initDir = documentFolder(state);
    const QString base = QFileInfo(state.fileTitle).completeBaseName();
    request.fileName = (base.isEmpty() ? QStringLiteral("Untitled") : base) + QLatin1Char('.') + extension;
    request.filterIndex = 1;
    request.confirmOverwrite = true;
    return request;
}

} // namespace Tessar

#include "platform/programicon.h"

#include "platform/pngread.h"

#include <QPixmap>

namespace Tessar {

QIcon programIcon()
{
    // Drawn sizes rather than the scalable picture, which would need an
    // image plugin that not every installation has.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(readPng(QStringLiteral(":/icons/tessar-%1.png").arg(size))));
    return icon;
}

} // namespace Tessar

#include "fixeddialog.h"

#include "platform/twips.h"

#include <QDialog>
#include <QString>

namespace Tessar {

void setUpFixedDialog(QDialog *dialog, const QString &name, const QString &title,
                      double widthTwips, double heightTwips)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    // A title and a close button only: the window manager offers neither
    // minimising nor maximising a window whose size is fixed.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont bold = dialog->font();
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    dialog->setFont(bold);
    dialog->setFixedSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
}

} // namespace Tessar

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
    offerCloseOnly(dialog);
    QFont bold = dialog->font();
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    dialog->setFont(bold);
    dialog->setFixedSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
}

} // namespace Tessar

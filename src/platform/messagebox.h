#pragma once

#include <QMessageBox>
#include <QString>

namespace Tessar {

// A message with an OK button, named `name` so that tests can find and
// answer it; waits for the user. Header-only: the printing module, which
// links none of the program, tells its messages this way too.
inline void tell(QWidget *parent, const char *name, QMessageBox::Icon icon, const QString &title,
                 const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QLatin1String(name));
    box.exec();
}

} // namespace Tessar

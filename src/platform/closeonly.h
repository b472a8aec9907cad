#pragma once

#include <QDialog>

namespace Tessar {

// A dialog whose size does not change offers only a title and a close
// button: the window manager has nothing to minimise or maximise. Without
// the customising hint, window managers fall back to their full set of
// buttons.
inline void offerCloseOnly(QDialog *dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

} // namespace Tessar

#pragma once

class QDialog;
class QString;

namespace Tessar {

// A dialog whose size does not change offers only a title and a close
// button: the window manager has nothing to minimise or maximise.
void offerCloseOnly(QDialog *dialog);

// The setup dialogs share one look: a fixed-size window without a help
// button, in a small bold font, with its client area given in twips.
void setUpFixedDialog(QDialog *dialog, const QString &name, const QString &title,
                      double widthTwips, double heightTwips);

} // namespace Tessar

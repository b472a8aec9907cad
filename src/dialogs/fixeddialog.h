#pragma once

#include "platform/closeonly.h"

class QString;

namespace Tessar {

// The setup dialogs share one look: a fixed-size window without a help
// button, in a small bold font, with its client area given in twips.
void setUpFixedDialog(QDialog *dialog, const QString &name, const QString &title,
                      double widthTwips, double heightTwips);

} // namespace Tessar

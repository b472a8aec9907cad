#pragma once

class QWidget;

namespace Tessar {

// Centres a window on the screen its parent is on (or the primary screen),
// not on the parent: the dialogs have always opened in the middle of the screen.
void centreOnScreen(QWidget *window, QWidget *parent);

} // namespace Tessar

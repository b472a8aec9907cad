#pragma once

class QWidget;

namespace Tessar {

// Centres a window, frame and all, on the free area of the screen its
// parent is on (or the primary screen), not on the parent: the dialogs have
// always opened in the middle of the screen. Call it before showing the window.
void centreOnScreen(QWidget *window, QWidget *parent);

} // namespace Tessar

#pragma once

class QWidget;

namespace Tessar {

// Shows the window, restores it when minimised and puts it in front: what a
// second start asks of the running copy.
void bringToFront(QWidget *window);

} // namespace Tessar

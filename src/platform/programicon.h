#pragma once

#include <QIcon>

namespace Tessar {

// The plate picture that stands for the program in window frames, the
// About box and the desktop.
QIcon programIcon();

} // namespace Tessar

#pragma once

#include <QtGlobal>

namespace Tessar {

// Writes every byte to the descriptor, going on after interrupted and short
// writes; false with errno set when the system refuses the rest.
bool writeAll(int fd, const char *data, qint64 size);

} // namespace Tessar

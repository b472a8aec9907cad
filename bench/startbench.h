#pragma once

#include <QString>

namespace Tessar {

// Sets up the starts of whole processes: a private home, configuration and
// runtime folder for them, and one start of each program to check it comes
// up as it should (and to fill the system's caches before timing). False,
// with the reason, when a program cannot be timed.
bool prepareStarts(QString *error);
void releaseStarts();

} // namespace Tessar

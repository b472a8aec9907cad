#pragma once

#include <QString>
#include <QtGlobal>

namespace Tessar {

// Opens the main windows the window benchmarks work on, offscreen: one on a
// full 96-well plate, one on a full 1536-well plate, and checks that the
// commands timed really do their work on them. False, with the reason, when
// they cannot be timed. Needs a QApplication.
bool prepareWindows(QString *error);
void releaseWindows();

// Bytes the undo history holds at its bounds on full 1536-well plates, or -1.
qsizetype fullHistoryBytes(QString *error);

} // namespace Tessar

#pragma once

namespace Tessar {

// Called before QApplication exists. A desktop that is still coming up
// (a session started beside its X server, a login's autostart) may not
// yet answer on its display: a local X display is given a few seconds to
// start listening, rather than the start failing at once.
void waitForDisplay();

// Makes the window system's refusal, should no display answer even then,
// a plain message and exit status 1 instead of an abort with a core dump.
// Held for the construction of QApplication only.
class DisplayFailureGuard
{
public:
    DisplayFailureGuard();
    ~DisplayFailureGuard();
    DisplayFailureGuard(const DisplayFailureGuard &) = delete;
    DisplayFailureGuard &operator=(const DisplayFailureGuard &) = delete;
};

} // namespace Tessar

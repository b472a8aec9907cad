#pragma once

#include <QString>

#include <functional>

class QApplication;

namespace Tessar {

class MainWindow;
class SingleInstance;

struct StartOptions
{
    // A sample file to open once the window shows: what the desktop passes
    // on a double-click.
    QString fileToOpen;
    // For timing a start from outside: when set, it is called once the main
    // window has been painted in full for the first time, and the program
    // then ends at once, leaving the settings as they were.
    std::function<void()> afterFirstPaint;
};

// A later start brings the window to the front and hands it the file it
// was given.
void listenForLaterStarts(SingleInstance &instance, MainWindow &window);

// The whole life of the program after QApplication exists: the hand-over to
// a copy that runs already, the help search, the settings, the main window
// and the event loop. Returns the program's exit status.
int runTessar(QApplication &app, const StartOptions &options);

} // namespace Tessar

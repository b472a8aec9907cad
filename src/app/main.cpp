#include "app/displaywait.h"
#include "app/startup.h"

#include <QApplication>
#include <optional>

int main(int argc, char *argv[])
{
    Tessar::waitForDisplay();
    std::optional<QApplication> app;
    {
        const Tessar::DisplayFailureGuard guard;
        app.emplace(argc, argv);
    }
    Tessar::StartOptions options;
    // A file given by the desktop (a double-click on a .kwl). QApplication
    // has already taken its own options out of argv.
    if (argc > 1)
        options.fileToOpen = QString::fromLocal8Bit(argv[1]);
    return Tessar::runTessar(*app, options);
}

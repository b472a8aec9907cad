#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Tessar::StartOptions options;
    // A file given by the desktop (a double-click on a .kwl). QApplication
    // has already taken its own options out of argv.
    if (argc > 1)
        options.fileToOpen = QString::fromLocal8Bit(argv[1]);
    return Tessar::runTessar(app, options);
}

// The program's own start-up, ending once its window has been painted for
// the first time. Prints "painted" then, so whoever times it knows the
// window really came up (and no running copy took the start over).

#include "app/startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Tessar::StartOptions options;
    if (argc > 1)
        options.fileToOpen = QString::fromLocal8Bit(argv[1]);
    options.afterFirstPaint = [] {
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
    };
    return Tessar::runTessar(app, options);
}

// Copied into an unpacked package beside the program, it prints where the
// program's own help search finds the manual from there.
#include "app/helpfile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (!Tessar::FindHelpFile())
        return 1;
    QTextStream(stdout) << Tessar::helpFilePath() << Qt::endl;
    return 0;
}

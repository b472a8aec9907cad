#include "app/helpfile.h"
#include "app/programicon.h"
#include "app/raisewindow.h"
#include "app/singleinstance.h"
#include "core/document.h"
#include "core/state.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Corvant"));
    QApplication::setApplicationName(QStringLiteral("Corvant"));
    QApplication::setWindowIcon(Tessar::programIcon());

    // A file given by the desktop (a double-click on a .kwl) is opened; a
    // second start hands it to the copy that runs already and ends.
    // (QApplication has already taken its own options out of argv.)
    const QString fileToOpen = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    Tessar::SingleInstance instance;
    if (!instance.start(fileToOpen))
        return 0;

    if (!Tessar::FindHelpFile())
        Tessar::warnHelpMissing(nullptr);

    Tessar::State state;
    Tessar::applyFirstRunDefaults(state);
    Tessar::MainWindow window(state);
    QObject::connect(&instance, &Tessar::SingleInstance::activationRequested, &window,
                     [&window] { Tessar::bringToFront(&window); });
    QObject::connect(&instance, &Tessar::SingleInstance::openRequested, &window,
                     [&window](const QString &path) {
                         // Never pull the document away from under an open dialog.
                         if (!QApplication::activeModalWidget())
                             window.openFile(path);
                     });
    QObject::connect(&window, &Tessar::MainWindow::unloaded, &app, &QCoreApplication::quit);
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Corvant"),
                        QStringLiteral("Corvant"));
        window.loadSettings(store);
    }
    window.show();
    if (!fileToOpen.isEmpty())
        window.openFile(fileToOpen);
    return app.exec();
}

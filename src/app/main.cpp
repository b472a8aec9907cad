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

    // A second start only wakes the copy that runs already.
    Tessar::SingleInstance instance;
    if (!instance.start())
        return 0;

    if (!Tessar::FindHelpFile())
        Tessar::warnHelpMissing(nullptr);

    Tessar::State state;
    Tessar::applyFirstRunDefaults(state);
    Tessar::MainWindow window(state);
    QObject::connect(&instance, &Tessar::SingleInstance::activationRequested, &window,
                     [&window] { Tessar::bringToFront(&window); });
    QObject::connect(&window, &Tessar::MainWindow::unloaded, &app, &QCoreApplication::quit);
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Corvant"),
                        QStringLiteral("Corvant"));
        window.loadSettings(store);
    }
    window.show();
    return app.exec();
}

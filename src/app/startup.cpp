#include "app/startup.h"

#include "app/helpfile.h"
#include "app/helpwindow.h"
#include "platform/programicon.h"
#include "app/raisewindow.h"
#include "app/singleinstance.h"
#include "app/programstyle.h"
#include "core/document/document.h"
#include "core/document/state.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QEvent>
#include <QSettings>
#include <QTimer>

namespace Tessar {

namespace {

// Waits for the window's first paint. The top-level window is painted
// first in a pass, so the end of the pass is reached once the event loop
// runs again.
class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget &window, std::function<void()> done)
        : mWindow(window)
        , mDone(std::move(done))
    {
        mWindow.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !mSeen) {
            mSeen = true;
            mWindow.removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { mDone(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget &mWindow;
    std::function<void()> mDone;
    bool mSeen = false;
};

// The program's icon: every drawn size is decoded when it is set, which
// the window's first paint need not wait for.
void giveIcon()
{
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(programIcon());
}

} // namespace

void listenForLaterStarts(SingleInstance &instance, MainWindow &window)
{
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     [&window] { bringToFront(&window); });
    QObject::connect(&instance, &SingleInstance::openRequested, &window,
                     [&window](const QString &path) { window.requestOpen(path); });
}

int runTessar(QApplication &app, const StartOptions &options)
{
    QApplication::setOrganizationName(QStringLiteral("Corvant"));
    QApplication::setApplicationName(QStringLiteral("Corvant"));
    // Lets the desktop match the window to its menu entry (name and icon).
    QApplication::setDesktopFileName(QStringLiteral("com.corvant.tessar"));

    // A second start hands its file to the copy that runs already and ends.
    SingleInstance instance;
    if (!instance.start(options.fileToOpen))
        return 0;
    QApplication::setStyle(new ProgramStyle);

    if (!FindHelpFile()) {
        // Later starts are answered while the warning waits for the user.
        instance.listen();
        giveIcon();
        warnHelpMissing(nullptr);
    }

    State state;
    applyFirstRunDefaults(state);
    MainWindow window(state);
    listenForLaterStarts(instance, window);
    QObject::connect(&window, &MainWindow::unloaded, &app, &QCoreApplication::quit);
    QObject::connect(&window, &MainWindow::helpRequested, &window,
                     [&window] { HelpWindow::showContents(&window); });
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Corvant"),
                        QStringLiteral("Corvant"));
        window.loadSettings(store);
    }

    const FirstPaintWatch watch(window, [&options, &instance] {
        if (options.afterFirstPaint) {
            options.afterFirstPaint();
            // Not quit(): that closes the window, which writes the settings.
            QCoreApplication::exit(0);
            return;
        }
        giveIcon();
        // Later starts wait for this; the window need not.
        instance.listen();
    });

    window.show();
    if (!options.fileToOpen.isEmpty())
        window.openFile(options.fileToOpen);
    return app.exec();
}

} // namespace Tessar

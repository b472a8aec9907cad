// Starts the program exactly as its own main() does, and at the first paint
// prints how it came up, as one JSON line: the peak resident memory so far
// (kB), the main window's client and frame rectangles, the available area
// of its screen, the size of the plate image and whether Edit > Undo is
// enabled. The program then ends without writing its settings. A file
// named on the command line is opened, as by the program itself.
//
// With --maximise-and-close it instead maximises the window once it shows,
// waits for the window manager to do so, says "maximised", and closes the
// window as the user would, which stores its place.

#include "app/startup.h"
#include "plate/picwell.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace {

QWidget *mainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == u"kel95")
            return w;
    return nullptr;
}

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

QJsonArray rect(const QRect &r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

void report(QWidget *window)
{
    const auto *plate = window->findChild<Tessar::PicWell *>();
    const QJsonObject figures{
        {QStringLiteral("peakKb"), peakResidentKb()},
        {QStringLiteral("client"), rect(window->geometry())},
        {QStringLiteral("frame"), rect(window->frameGeometry())},
        {QStringLiteral("available"), rect(window->screen()->availableGeometry())},
        {QStringLiteral("image"), QJsonArray{plate->image().width(), plate->image().height()}},
        {QStringLiteral("undo"), window->findChild<QAction *>(QStringLiteral("mnuEditUndo"))->isEnabled()},
    };
    std::fputs(QJsonDocument(figures).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    std::fflush(stdout);
}

// Keeps the events flowing for a while, or until `done` holds.
void waitFor(int ms, const std::function<bool()> &done = {})
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !(done && done())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

void maximiseAndClose(QWidget *window)
{
    const QRect normal = window->geometry();
    window->showMaximized();
    waitFor(10000, [window, normal] { return window->isMaximized() && window->geometry() != normal; });
    // The window manager may move the frame once more after saying so.
    waitFor(500);
    std::puts(window->isMaximized() ? "maximised" : "not maximised");
    std::fflush(stdout);
    window->close();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool maximise = app.arguments().contains(QStringLiteral("--maximise-and-close"));
    Tessar::StartOptions options;
    if (argc > 1 && !maximise)
        options.fileToOpen = QString::fromLocal8Bit(argv[1]);
    options.afterFirstPaint = [maximise] {
        QWidget *window = mainWindow();
        if (!window)
            return;
        if (maximise)
            maximiseAndClose(window);
        else
            report(window);
    };
    return Tessar::runTessar(app, options);
}

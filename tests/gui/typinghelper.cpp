// Stands in for a user at the real window: types its argument into the
// first sample's first description field, then works on until it is
// killed, as a program is that the machine takes down without warning.
#include "core/document/document.h"
#include "core/document/settings.h"
#include "mainwindow/mainwindow.h"
#include "platform/grid.h"

#include <QApplication>
#include <QSettings>
#include <QTest>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Tessar::State state;
    Tessar::applyFirstRunDefaults(state);
    Tessar::MainWindow window(state);
    QSettings store(Tessar::settingsFilePath(), QSettings::IniFormat);
    window.loadSettings(store);
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto *grid = window.findChild<Tessar::Grid *>(QStringLiteral("GrdID0"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLocal8Bit(argv[1]));
    return app.exec();
}

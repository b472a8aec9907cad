#include "mainwindow/windowplacement.h"
#include "platform/commondialogs.h"
#include "platform/grid.h"

#include <QTest>

using namespace Tessar;

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void gridLeavesEditingAndPagingToItsOwner()
    {
        Grid grid;
        grid.resize(200, 200);
        grid.setRows(3);
        QStringList events;
        connect(&grid, &Grid::keyDown, this, [&](int key) { events << QString::number(key); });
        connect(&grid, &Grid::keyPress, this, [&](QChar c) { events << QString(c); });
        QTest::keyClick(&grid, 'A');
        QCOMPARE(events, (QStringList{QString::number(Qt::Key_A), QStringLiteral("A")}));
        QCOMPARE(grid.text(), QString());

        for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Left, Qt::Key_PageUp, Qt::Key_Home})
            QTest::keyClick(&grid, key);
        QCOMPARE(grid.row(), 2);
        QCOMPARE(grid.col(), 1);
        grid.show();   // a click on a caption picks its value
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualItemRect(grid.item(1, 0)).center());
        QCOMPARE(grid.row(), 1);
        QCOMPARE(grid.col(), 1);

        // Indexes outside the grid are ignored.
        grid.setRow(5);
        grid.setRow(-1);
        grid.setTextAt(9, 9, QStringLiteral("x"));
        grid.setRowHeight(1, -1);
        QCOMPARE(grid.row(), 1);
        QCOMPARE(grid.textAt(9, 9), QString());
        QCOMPARE(grid.rowHeight(1), grid.defaultRowHeight());
    }

    void filterBecomesNameFilters()
    {
        QCOMPARE(CommonDialogs::convertFilter(QStringLiteral("Tessar File (*.kwl)|*.kwl|All Files (*.*)|*.*|")),
                 (QStringList{QStringLiteral("Tessar File (*.kwl)"), QStringLiteral("All Files (*)")}));
        QCOMPARE(CommonDialogs::convertFilter(QStringLiteral("Texts|*.txt;*.csv|dangling|")),
                 QStringList{QStringLiteral("Texts (*.txt *.csv)")});
    }

    // A stored window comes back where it was when a screen shows all of
    // it; otherwise wholly, frame and all, on the screen that shows most of
    // it, or centred on the primary one.
    void storedWindowFitsOnAScreen()
    {
        const QRect primary(0, 0, 1280, 1000);
        const QList<QRect> screens{primary, QRect(1280, 0, 1024, 768)};
        const QSize frame(8, 34);
        QCOMPARE(restoredGeometry(QRect(1400, 100, 400, 300), screens, primary), QRect(1400, 100, 400, 300));
        QCOMPARE(restoredGeometry(QRect(100, -290, 400, 300), screens, primary), QRect(100, 0, 400, 300));
        QCOMPARE(restoredGeometry(QRect(2200, 600, 400, 300), screens, primary),
                 QRect(QPoint(2304, 768) - QPoint(400, 300) - QPoint(frame.width(), frame.height()), QSize(400, 300)));
        QCOMPARE(restoredGeometry(QRect(-5000, -5000, 300, 200), screens, primary), QRect(486, 383, 300, 200));
        QCOMPARE(restoredGeometry(QRect(10, 20, 3000, 66667), screens, primary), QRect(QPoint(0, 0), primary.size() - frame));
        QCOMPARE(restoredGeometry(QRect(1500, 10, 10000000, 10000000), screens, primary), QRect(QPoint(1280, 0), QSize(1024, 768) - frame));
        QCOMPARE(restoredGeometry(QRect(100, 100, 0, -5), screens, primary), QRect(100, 100, 160, 120));
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

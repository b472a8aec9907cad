#include "mainwindow/windowplacement.h"
#include "platform/commondialogs.h"
#include "platform/grid.h"

#include <QSignalSpy>
#include <QTest>

using namespace Tessar;

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void gridReportsKeyDownBeforeKeyPress()
    {
        Grid grid;
        grid.setRows(3);
        QStringList events;
        connect(&grid, &Grid::keyDown, this, [&](int key, Qt::KeyboardModifiers) {
            if (key != Qt::Key_Shift && key != Qt::Key_Control)
                events << QStringLiteral("down %1").arg(key);
        });
        connect(&grid, &Grid::keyPress, this, [&](QChar c) { events << QStringLiteral("press %1").arg(c.unicode()); });

        QTest::keyClick(&grid, 'A');
        QTest::keyClick(&grid, Qt::Key_Tab);
        QTest::keyClick(&grid, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(events, (QStringList{QStringLiteral("down %1").arg(Qt::Key_A), QStringLiteral("press 65"),
                                      QStringLiteral("down %1").arg(Qt::Key_Tab), QStringLiteral("press 9"),
                                      QStringLiteral("down %1").arg(Qt::Key_Return), QStringLiteral("press 10"),
                                      QStringLiteral("down %1").arg(Qt::Key_Delete)}));
        // Typing never edits the grid on its own.
        QCOMPARE(grid.text(), QString());
    }

    void gridArrowsStayInTheValueColumn()
    {
        Grid grid;
        grid.resize(200, 200);
        grid.setRows(3);
        QCOMPARE(grid.row(), 0);
        QCOMPARE(grid.col(), 1);
        QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(grid.row(), 2);
        QTest::keyClick(&grid, Qt::Key_Left);
        QCOMPARE(grid.col(), 1);
        // Page keys are the owner's: the grid does not move.
        QTest::keyClick(&grid, Qt::Key_PageUp);
        QTest::keyClick(&grid, Qt::Key_Home);
        QCOMPARE(grid.row(), 2);
    }

    void gridCellsKeepTextAndColour()
    {
        Grid grid;
        grid.setRows(2);
        grid.setTextAt(0, 0, QStringLiteral("Key"));
        grid.setRow(1);
        grid.setText(QStringLiteral("S-01"));
        grid.setCellTextColour(0x80000010u);
        QCOMPARE(grid.textColourAt(1, 1), 0x80000010u);

        // Indexes outside the grid are ignored, never trusted.
        grid.setRow(5);
        grid.setRow(-1);
        QCOMPARE(grid.row(), 1);
        grid.setTextAt(9, 9, QStringLiteral("x"));
        QCOMPARE(grid.textAt(9, 9), QString());
        grid.setRowHeight(7, 50);
        grid.setRowHeight(1, 50);
        grid.setRowHeight(1, -1);
        QCOMPARE(grid.rowHeight(1), grid.defaultRowHeight());
    }

    void clickOnACaptionPicksItsValue()
    {
        Grid grid;
        grid.resize(200, 200);
        grid.setRows(3);
        grid.setColWidth(0, 80);
        grid.setColWidth(1, 100);
        grid.show();
        QSignalSpy clicks(&grid, &Grid::clicked);
        const QRect caption = grid.visualItemRect(grid.item(2, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, caption.center());
        QCOMPARE(grid.row(), 2);
        QCOMPARE(grid.col(), 1);
        QCOMPARE(clicks.count(), 1);
    }

    void filterBecomesNameFilters()
    {
        QCOMPARE(CommonDialogs::convertFilter(QStringLiteral("Tessar File (*.kwl)|*.kwl|All Files (*.*)|*.*|")),
                 (QStringList{QStringLiteral("Tessar File (*.kwl)"), QStringLiteral("All Files (*)")}));
        QCOMPARE(CommonDialogs::convertFilter(QStringLiteral("Texts|*.txt;*.csv")),
                 QStringList{QStringLiteral("Texts (*.txt *.csv)")});
        QCOMPARE(CommonDialogs::convertFilter(QStringLiteral("dangling|")), QStringList());
        QCOMPARE(CommonDialogs::convertFilter(QString()), QStringList());
    }

    void windowOffEveryScreenComesBack()
    {
        const QRect primary(0, 0, 1280, 1000);
        const QList<QRect> screens{primary, QRect(1280, 0, 1024, 768)};
        const QRect onSecond(1400, 100, 400, 300);
        QCOMPARE(restoredGeometry(onSecond, screens, primary), onSecond);

        // On a screen no longer there, or with the title bar out of reach.
        for (const QRect &lost : {QRect(3000, 100, 400, 300), QRect(100, -290, 400, 300)})
            QCOMPARE(restoredGeometry(lost, screens, primary), QRect(QPoint(440, 350), lost.size()));

        // Larger than the screen: the top left corner stays on it.
        QCOMPARE(restoredGeometry(QRect(-5000, -5000, 3000, 2000), screens, primary).topLeft(), QPoint(0, 0));
        // A hand-edited size of nothing still gives a usable window.
        QVERIFY(restoredGeometry(QRect(100, 100, 0, 0), screens, primary).width() >= 100);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

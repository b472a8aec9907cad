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

    void windowOffEveryScreenComesBack()
    {
        const QRect primary(0, 0, 1280, 1000);
        const QList<QRect> screens{primary, QRect(1280, 0, 1024, 768)};
        QCOMPARE(restoredGeometry(QRect(1400, 100, 400, 300), screens, primary), QRect(1400, 100, 400, 300));
        QCOMPARE(restoredGeometry(QRect(100, -290, 400, 300), screens, primary), QRect(440, 350, 400, 300));
        QCOMPARE(restoredGeometry(QRect(-5000, -5000, 3000, 2000), screens, primary).topLeft(), QPoint(0, 0));
        QVERIFY(restoredGeometry(QRect(100, 100, 0, 0), screens, primary).width() >= 100);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

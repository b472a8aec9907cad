#include "mainwindow/windowplacement.h"
#include "platform/basiccolourgrid.h"
#include "platform/commondialogs.h"
#include "platform/grid.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Tessar;

class TestPlatform : public QObject
{
    Q_OBJECT

    // The desktop's colour chooser as the Color dialog opens it, answered
    // by `answer` once it has the keyboard; whatever else opens is closed.
    static std::optional<Colour> chooseColour(Colour initial, const std::function<void(QWidget *)> &answer)
    {
        QTimer::singleShot(0, [&answer] {
            QWidget *chooser = nullptr;
            if (!QTest::qWaitFor([&chooser] { return (chooser = QApplication::activeModalWidget()) && chooser->isVisible(); }))
                return;
            if (chooser->objectName() == u"ColorChooser"
                && QTest::qWaitFor([chooser] { return QApplication::activeWindow() == chooser; }))
                answer(chooser);
            else
                chooser->close();
        });
        return CommonDialogs::instance().showColor(nullptr, QStringLiteral("Define Custom Colors"), initial);
    }
    static void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

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

    // Only the basic colours are offered: the chooser opens on the colour it
    // is given, the arrows and Return or a click and OK choose, Escape cancels.
    void colourChooserOffersOnlyTheBasicColours()
    {
        QString title;
        bool definable = true;
        int opened = -2;
        std::optional<Colour> chosen = chooseColour(0x0000FF, [&](QWidget *chooser) {
            title = chooser->windowTitle();
            definable = !chooser->findChildren<QLineEdit *>().isEmpty() || !chooser->findChildren<QAbstractSpinBox *>().isEmpty()
                        || chooser->findChildren<QPushButton *>().size() != 2;
            opened = chooser->findChild<BasicColourGrid *>(QStringLiteral("basicColors"))->current();
            press(Qt::Key_Right);
            press(Qt::Key_Down);
            press(Qt::Key_Return);
        });
        QCOMPARE(title, QStringLiteral("Define Custom Colors"));
        QVERIFY(!definable);
        QCOMPARE(BasicColourGrid::colourAt(opened), QColor(255, 0, 0));
        QCOMPARE(chosen, std::optional<Colour>(0x7F5555));   // one column right, one row down

        chosen = chooseColour(0x0000FF, [](QWidget *) { press(Qt::Key_Down); press(Qt::Key_Escape); });
        QCOMPARE(chosen, std::nullopt);

        const auto click = [](QWidget *on, QPoint at = {}) { QTest::mouseClick(on, Qt::LeftButton, {}, at.isNull() ? on->rect().center() : at); };
        chosen = chooseColour(0x123456, [&](QWidget *chooser) {   // no basic colour: OK keeps it
            opened = chooser->findChild<BasicColourGrid *>(QStringLiteral("basicColors"))->current();
            click(chooser->findChild<QPushButton *>(QStringLiteral("OKBtn")));
        });
        QCOMPARE(opened, -1);
        QCOMPARE(chosen, std::optional<Colour>(0x123456));
        chosen = chooseColour(0x123456, [&](QWidget *chooser) {
            auto *grid = chooser->findChild<BasicColourGrid *>(QStringLiteral("basicColors"));
            click(grid, grid->cellRect(BasicColourGrid::Count - 1).center());
            click(chooser->findChild<QPushButton *>(QStringLiteral("OKBtn")));
        });
        QCOMPARE(chosen, std::optional<Colour>(0xFFFFFF));
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

#include "windowdriver.h"

#include "core/plate/plategeometry.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>

#include <algorithm>
#include <cmath>

using namespace Tessar;

// Mouse events travel the window system's way here, so tracking, the
// implicit grab and buttons held all take part.
class TestPlateMouse : public QObject, WindowDriver
{
    Q_OBJECT

    QPoint at(float x, float y) const { return picture()->mapTo(window.get(), picture()->toPixel(x, y).toPoint()); }
    QPoint atWell(int s) const { return at(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]); }
    QPoint betweenWells(int a, int b) const
    {
        return at((state.spotX[std::size_t(a)] + state.spotX[std::size_t(b)]) / 2,
                  (state.spotY[std::size_t(a)] + state.spotY[std::size_t(b)]) / 2);
    }
    void move(QPoint to) const { QTest::mouseMove(window->windowHandle(), to); }
    // Returns the status line while the button is held.
    QString drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) const
    {
        move(from);
        QTest::mousePress(window->windowHandle(), button, {}, from);
        move(to);
        const QString during = status();
        QTest::mouseRelease(window->windowHandle(), button, {}, to);
        return during;
    }

    int lit() const { return window->plateMap().litSample(); }

    // A press and release with modifiers held, the pointer moved between.
    void gesture(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers) const
    {
        move(from);
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, modifiers, from);
        move(to);
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, modifiers, to);
    }
    std::vector<int> picked() const
    {
        std::vector<int> wells;
        for (int s = 1; s <= state.wellCount; ++s)
            if (window->plateMap().isPicked(s))
                wells.push_back(s);
        // The marks drawn and the pick the commands act on are one.
        return wells == window->selection() ? wells : std::vector<int>{-1};
    }
    // Where the label of a row (letter) or column (number) is drawn.
    QPoint atRowLetter(int row) const { return at(state.spotX[std::size_t((row - 1) * state.nCols + 1)], 122.5f); }
    QPoint atColumnNumber(int column) const { return at(1.0f, state.spotY[std::size_t(column)]); }

private slots:
    void init()
    {
        start();
        state.sampleTable(5, 1) = "five";
        state.sampleTable(6, 2) = "six";
        window->sizeform();
    }

    void cleanup() { stop(); }

    void pointerFindsTheWellDrawnUnderIt()
    {
        run("MnuSetupWellnum3");
        for (int s = 1; s <= state.wellCount; ++s) {
            const QPointF plate = picture()->toPlate(picture()->toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]));
            if (spotat(state, float(plate.x()), float(plate.y())) != s)
                QFAIL(qPrintable(QStringLiteral("well %1").arg(s)));
        }
        run("MnuSetupWellnum2");
        move(atWell(13));
        QCOMPARE(status(), "Selected Sample: B 1");
        move(betweenWells(13, 14));
        QCOMPARE(status(), QString());
    }

    void dragMovesASampleOntoAnEmptyWellOnly()
    {
        state.sampleTable(5, 5) = "slot";
        QCOMPARE(drag(atWell(5), atWell(40)), "Moving Sample: A 5");
        QCOMPARE(state.sampleTable(40, 1) + state.sampleTable(40, 5), "fiveslot");
        QVERIFY(!SampleHasData(state, 5) && lit() == 40);
        QCOMPARE(state.topSample, 40);

        // The key travels too, and any button drags.
        state.keyName[2] = "Std";
        state.sampleTable(40, 0) = "Std";
        drag(atWell(40), atWell(41), Qt::RightButton);
        QCOMPARE(state.sampleTable(41, 0) + state.sampleTable(41, 1), "Stdfive");

        // A drop onto data, between wells or off the plate moves nothing.
        drag(atWell(41), atWell(6));
        QCOMPARE(state.topSample, 6);
        scrollBar()->setValue(20);
        drag(atWell(41), betweenWells(60, 61));
        drag(atWell(41), child<QLabel>("LblCompany")->mapTo(window.get(), QPoint(2, 2)));
        QCOMPARE(state.sampleTable(41, 1) + state.sampleTable(6, 2), "fivesix");
        QCOMPARE(lit(), 41);
        QCOMPARE(state.topSample, 20);
    }

    // A press that found no well starts no drag, so its release drops
    // nothing, not even the sample an earlier drag moved.
    void aReleaseWithoutADragMovesNothing()
    {
        drag(atWell(5), atWell(40));
        QCOMPARE(well(40), opaque(ButtonShadowColour));
        // Away from the first frame, whose well is drawn afresh anyway.
        clickCell(2, 1);
        drag(betweenWells(60, 61), atWell(70));
        QVERIFY(!SampleHasData(state, 70));
        QCOMPARE(well(70), background());
        QCOMPARE(well(40), opaque(ButtonShadowColour));
        QCOMPARE(state.sampleTable(40, 1), "five");
    }

    void staleWellsFromALargerPlateAreForgotten()
    {
        // A press straight after the window opened finds no well.
        QTest::mouseClick(picture(), Qt::LeftButton, {}, picture()->toPixel(state.spotX[5], state.spotY[5]).toPoint());
        QCOMPARE(lit(), 0);

        run("MnuSetupWellnum3");
        state.sampleTable(300, 1) = "far";
        move(atWell(300));
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, atWell(300));
        run("MnuSetupWellnum0");
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, atWell(300));
        QTest::mouseClick(picture(), Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(state.topSample, 1);
        drag(atWell(24), atWell(23));
        QCOMPARE(lit(), 23);
    }

    void shiftDragPicksABlockThatOneKeyStrokeKeys()
    {
        state.keyName[2] = "Std";
        window->sizeform();
        gesture(atWell(1), atWell(3 * 12 + 4 - 12), Qt::ShiftModifier);   // A1 to C4
        const std::vector<int> block{1, 2, 3, 4, 13, 14, 15, 16, 25, 26, 27, 28};
        QCOMPARE(picked(), block);
        QCOMPARE(status(), "12 wells selected");
        QCOMPARE(state.sampleTable(1, 1), QString());   // nothing was moved or picked up

        press(Qt::Key_F5);
        dialogs->answers = {path("keyed.kwl")};
        run("mnuFileSaveAs");
        open(path("keyed.kwl"));
        QVERIFY(picked().empty());   // a new document starts without a pick
        for (int s = 1; s <= 96; ++s)
            QCOMPARE(state.sampleTable(s, 0), std::binary_search(block.begin(), block.end(), s) ? "Std" : "");

        gesture(atWell(1), atWell(28), Qt::ShiftModifier);
        run("mnuEditDeleteAll");
        QCOMPARE(state.sampleTable(1, 0) + state.sampleTable(28, 0), QString());
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(1, 0) + state.sampleTable(28, 0), "StdStd");
        QCOMPARE(state.sampleTable(5, 1), "five");
    }

    void ctrlClicksHeadersAndKeysChangeThePick()
    {
        gesture(atWell(5), atWell(5), Qt::ControlModifier);
        gesture(atWell(7), atWell(7), Qt::ControlModifier);
        gesture(atWell(5), atWell(5), Qt::ControlModifier);
        QCOMPARE(picked(), std::vector<int>{7});
        QCOMPARE(status(), "1 well selected");
        QCOMPARE(state.topSample, 1);   // a pick never scrolls the frames

        QTest::mouseClick(picture(), Qt::LeftButton, {}, picture()->mapFrom(window.get(), atRowLetter(2)));
        QCOMPARE(picked().size(), 12u);
        QTest::mouseClick(picture(), Qt::LeftButton, Qt::ControlModifier, picture()->mapFrom(window.get(), atColumnNumber(12)));
        QCOMPARE(picked().size(), 19u);
        QVERIFY(window->plateMap().isPicked(96) && window->plateMap().isPicked(24));

        press(Qt::Key_Escape);   // the map has the focus since the click
        QVERIFY(picked().empty());
        press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(picked().size(), 96u);
        QCOMPARE(status(), "96 wells selected");
        // Every picked well stands on the dark patch right up to its ring.
        for (const int s : {5, 40, 96}) {
            const QPoint centre = picture()->toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]).toPoint();
            const int ring = int(std::ceil(picture()->toPixelRadius(state.spotRad)));
            QCOMPARE(picture()->pixelAt(centre + QPoint(ring + 2, 0)), QColor(0x26, 0x2E, 0x3D));
        }
        // A plain click on a well goes back to one sample, and a plain drag still moves one.
        QTest::mouseClick(picture(), Qt::LeftButton, {}, picture()->mapFrom(window.get(), atWell(9)));
        QVERIFY(picked().empty());
        drag(atWell(5), atWell(40));
        QCOMPARE(state.sampleTable(40, 1), "five");

        gesture(atWell(1), atWell(2), Qt::ShiftModifier);
        run("MnuSetupWellnum2");
        QVERIFY(picked().empty());
    }

    void copyAndPasteTableFollowThePick()
    {
        state.sampleTable(1, 1) = "a";
        state.sampleTable(14, 1) = "d";
        selectItem(1, 1);   // the first description row is the current one
        gesture(atWell(1), atWell(14), Qt::ShiftModifier);   // A1 to B2
        press(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), "a\t\r\n\td\r\n");
        QCOMPARE(status(), "4 wells copied as a table.");

        gesture(atWell(27), atWell(40), Qt::ShiftModifier);   // C3 to D4
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QStringList({state.sampleTable(27, 1), state.sampleTable(40, 1), state.sampleTable(1, 1)}),
                 QStringList({"a", "d", "a"}));
        QCOMPARE(undoEntry(), "&Undo Paste Table");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(27, 1) + state.sampleTable(40, 1), QString());
    }

    void fillSelectionCountsDownAColumn()
    {
        state.fieldName[1] = "Sample ID";
        window->sizeform();
        QTest::mouseClick(picture(), Qt::LeftButton, {}, picture()->mapFrom(window.get(), atColumnNumber(12)));
        whenModal("FillSelection", [](QWidget *dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit *>("fillText"), "S\"001");
            QVERIFY(!dialog->findChild<QPushButton *>("fillOk")->isEnabled());   // no quotes in a field
            dialog->findChild<QLineEdit *>("fillText")->clear();
            QTest::keyClicks(dialog->findChild<QLineEdit *>("fillText"), "S001");
            QTest::mouseClick(dialog->findChild<QRadioButton *>("fillCountUp"), Qt::LeftButton);
            auto *order = dialog->findChild<QComboBox *>("fillOrder");
            order->setCurrentIndex(order->findText("Down columns"));
            QCOMPARE(dialog->findChild<QLabel *>("fillPreview")->text(), "A 12: S001 ... H 12: S008");
            clickButton(dialog->findChild<QPushButton *>("fillOk"));
        });
        run("mnuEditFillSelection");
        QCOMPARE(unanswered(), 0);
        for (int r = 1; r <= 8; ++r)
            QCOMPARE(state.sampleTable((r - 1) * 12 + 12, 1), QStringLiteral("S%1").arg(r, 3, 10, QLatin1Char('0')));
        QCOMPARE(undoEntry(), "&Undo Fill Selection");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(96, 1), QString());
    }
};

QTEST_MAIN(TestPlateMouse)
#include "tst_platemouse.moc"

#include "windowdriver.h"

#include "core/plate/plategeometry.h"

#include <QWindow>

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
};

QTEST_MAIN(TestPlateMouse)
#include "tst_platemouse.moc"

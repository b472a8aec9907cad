#include "windowdriver.h"

#include "core/plategeometry.h"

#include <QWindow>

using namespace Tessar;

class TestPlateMouse : public QObject, WindowDriver
{
    Q_OBJECT

    // Window coordinates of a plate point, for events that travel the
    // window system's way (tracking, implicit grab, buttons held).
    QPoint atPlate(float x, float y) const
    {
        return picture()->mapTo(window.get(), picture()->toPixel(x, y).toPoint());
    }
    QPoint atWell(int s) const { return atPlate(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]); }
    QPoint betweenWells(int a, int b) const
    {
        return atPlate((state.spotX[std::size_t(a)] + state.spotX[std::size_t(b)]) / 2,
                       (state.spotY[std::size_t(a)] + state.spotY[std::size_t(b)]) / 2);
    }

    QWindow *handle() const { return window->windowHandle(); }
    void move(QPoint to) const { QTest::mouseMove(handle(), to); }

    void drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        move(from);
        QTest::mousePress(handle(), button, {}, from);
        move(to);
        mDuringDrag = status();
        QTest::mouseRelease(handle(), button, {}, to);
    }

    // The ring of s is smoothed: look for red along a line across its right half.
    bool ringIsRed(int s) const
    {
        const QPointF centre = picture()->toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]);
        const double r = picture()->toPixelRadius(state.spotRad);
        for (int dx = int(r * 0.8); dx <= int(r) + 2; ++dx) {
            const QColor pixel = picture()->pixelAt((centre + QPointF(dx, 0)).toPoint());
            if (pixel.red() - pixel.green() > 30)
                return true;
        }
        return false;
    }

    QString mDuringDrag;

private slots:
    void init()
    {
        start();
        state.sampleTable(5, 1) = QStringLiteral("five");
        state.sampleTable(5, 5) = QStringLiteral("slot");
        state.sampleTable(6, 2) = QStringLiteral("six");
        window->sizeform();
    }

    void cleanup() { stop(); }

    void pointerAndPlateAgreeOnEveryWell_data()
    {
        QTest::addColumn<int>("menuIndex");
        QTest::newRow("24") << 0;
        QTest::newRow("384") << 3;
    }

    void pointerAndPlateAgreeOnEveryWell()
    {
        QFETCH(int, menuIndex);
        run(QStringLiteral("MnuSetupWellnum%1").arg(menuIndex));
        for (int s = 1; s <= state.wellCount; ++s) {
            const QPointF pixel = picture()->toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]);
            const QPointF plate = picture()->toPlate(pixel);
            if (spotat(state, float(plate.x()), float(plate.y())) != s)
                QFAIL(qPrintable(QStringLiteral("well %1").arg(s)));
        }
        // The corners: x grows to the right, y upwards.
        const QPointF topLeft = picture()->toPlate(QPointF(0, 0));
        const QPointF bottomRight = picture()->toPlate(QPointF(picture()->width() - 1, picture()->height() - 1));
        QVERIFY(topLeft.x() < 1 && topLeft.y() > 122);
        QVERIFY(bottomRight.x() > 80 && bottomRight.y() < 1);

        move(atWell(state.wellCount));
        QCOMPARE(status(), QStringLiteral("Selected Sample: ") + spotname(state, state.wellCount).toString());
    }

    void hoverNamesTheWell()
    {
        move(atWell(13));
        QCOMPARE(status(), QStringLiteral("Selected Sample: B 1"));
        move(betweenWells(13, 14));
        QCOMPARE(status(), QString());
        move(atWell(96));
        QCOMPARE(status(), QStringLiteral("Selected Sample: H 12"));
    }

    void dragMovesASampleOntoAnEmptyWell()
    {
        drag(atWell(5), atWell(40));
        QCOMPARE(mDuringDrag, QStringLiteral("Moving Sample: A 5"));
        QCOMPARE(state.sampleTable(40, 1), QStringLiteral("five"));
        QCOMPARE(state.sampleTable(40, 5), QStringLiteral("slot"));
        QCOMPARE(state.sampleTable(5, 1), QString());
        QCOMPARE(state.sampleTable(5, 5), QString());
        QCOMPARE(well(5), background());
        QCOMPARE(well(40), opaque(ButtonShadowColour));
        QVERIFY(ringIsRed(40));
        QVERIFY(!ringIsRed(5));
        QCOMPARE(state.topSample, 40);
        QCOMPARE(scrollBar()->value(), 40);
        QCOMPARE(caption(0), QStringLiteral("Row D , Column  4"));

        // The key travels too, and any button drags.
        state.keyName[2] = QStringLiteral("Std");
        state.sampleTable(40, 0) = QStringLiteral("Std");
        drag(atWell(40), atWell(41), Qt::RightButton);
        QCOMPARE(state.sampleTable(41, 0), QStringLiteral("Std"));
        QCOMPARE(state.sampleTable(41, 1), QStringLiteral("five"));
        QVERIFY(!SampleHasData(state, 40));
        QCOMPARE(well(41), opaque(state.keyColor[2]));
        QCOMPARE(well(40), background());
    }

    void dropOntoDataOnlyScrolls()
    {
        drag(atWell(5), atWell(6));
        QCOMPARE(state.sampleTable(5, 1), QStringLiteral("five"));
        QCOMPARE(state.sampleTable(6, 2), QStringLiteral("six"));
        QVERIFY(ringIsRed(5));
        QVERIFY(!ringIsRed(6));
        QCOMPARE(state.topSample, 6);
        QCOMPARE(caption(0), QStringLiteral("Row A , Column  6"));
    }

    void dropOffEveryWellEndsTheDragOnly()
    {
        scrollBar()->setValue(20);
        drag(atWell(5), betweenWells(40, 41));
        drag(atWell(5), child<QLabel>(QStringLiteral("LblCompany"))->mapTo(window.get(), QPoint(2, 2)));
        QCOMPARE(state.sampleTable(5, 1), QStringLiteral("five"));
        QVERIFY(ringIsRed(5));
        QCOMPARE(state.topSample, 20);
        QCOMPARE(well(5), opaque(ButtonShadowColour));
        // The drag is over: the pointer names wells again.
        move(atWell(13));
        QCOMPARE(status(), QStringLiteral("Selected Sample: B 1"));
    }

    void staleWellsFromALargerPlateAreForgotten()
    {
        // A press straight after the window opened finds no well.
        QTest::mousePress(picture(), Qt::LeftButton, {}, picture()->toPixel(state.spotX[5], state.spotY[5]).toPoint());
        QTest::mouseRelease(picture(), Qt::LeftButton, {}, picture()->toPixel(state.spotX[5], state.spotY[5]).toPoint());
        QCOMPARE(window->plateMap().litSample(), 0);
        QCOMPARE(state.topSample, 1);

        run(QStringLiteral("MnuSetupWellnum3"));
        state.sampleTable(300, 1) = QStringLiteral("far");
        move(atWell(300));
        QTest::mousePress(handle(), Qt::LeftButton, {}, atWell(300));
        run(QStringLiteral("MnuSetupWellnum0"));
        QTest::mouseRelease(handle(), Qt::LeftButton, {}, atWell(300));
        QCOMPARE(state.wellCount, 24);
        QCOMPARE(state.topSample, 1);
        QVERIFY(!SampleHasData(state, 3));

        // The next press needs a move over one of the new wells first.
        QTest::mousePress(picture(), Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseRelease(picture(), Qt::LeftButton, {}, QPoint(1, 1));
        move(atWell(24));
        drag(atWell(24), atWell(23));
        QVERIFY(ringIsRed(23));
    }
};

QTEST_MAIN(TestPlateMouse)
#include "tst_platemouse.moc"

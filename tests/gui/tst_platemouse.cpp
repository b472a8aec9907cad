#include "windowdriver.h"

#include "core/plategeometry.h"

#include <QWindow>

using namespace Tessar;

// Mouse events travel the window system's way here, so tracking, the
// implicit grab and buttons held all take part.
class TestPlateMouse : public QObject, WindowDriver
{
    Q_OBJECT

    QPoint atPlate(float x, float y) const { return picture()->mapTo(window.get(), picture()->toPixel(x, y).toPoint()); }
    QPoint atWell(int s) const { return atPlate(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]); }
    QPoint betweenWells(int a, int b) const
    {
        return atPlate((state.spotX[std::size_t(a)] + state.spotX[std::size_t(b)]) / 2,
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

    // The ring is smoothed: look for red along a line across its right half.
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

    void pointerFindsTheWellDrawnUnderIt()
    {
        run(QStringLiteral("MnuSetupWellnum3"));
        for (int s = 1; s <= state.wellCount; ++s) {
            const QPointF plate = picture()->toPlate(picture()->toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]));
            if (spotat(state, float(plate.x()), float(plate.y())) != s)
                QFAIL(qPrintable(QStringLiteral("well %1").arg(s)));
        }
        const QPointF bottomRight = picture()->toPlate(QPointF(picture()->width() - 1, picture()->height() - 1));
        QVERIFY(bottomRight.x() > 80 && bottomRight.y() < 1);

        run(QStringLiteral("MnuSetupWellnum2"));
        move(atWell(13));
        QCOMPARE(status(), QStringLiteral("Selected Sample: B 1"));
        move(betweenWells(13, 14));
        QCOMPARE(status(), QString());
    }

    void dragMovesASampleOntoAnEmptyWell()
    {
        QCOMPARE(drag(atWell(5), atWell(40)), QStringLiteral("Moving Sample: A 5"));
        QCOMPARE(state.sampleTable(40, 1), QStringLiteral("five"));
        QCOMPARE(state.sampleTable(40, 5), QStringLiteral("slot"));
        QVERIFY(!SampleHasData(state, 5));
        QCOMPARE(well(5), background());
        QCOMPARE(well(40), opaque(ButtonShadowColour));
        QVERIFY(ringIsRed(40));
        QVERIFY(!ringIsRed(5));
        QCOMPARE(scrollBar()->value(), 40);
        QCOMPARE(caption(0), QStringLiteral("Row D , Column  4"));

        // The key travels too, any button drags, and a press where the
        // last drop ended picks the dropped sample.
        state.keyName[2] = QStringLiteral("Std");
        state.sampleTable(40, 0) = QStringLiteral("Std");
        drag(atWell(40), atWell(41), Qt::RightButton);
        QCOMPARE(state.sampleTable(41, 0), QStringLiteral("Std"));
        QCOMPARE(state.sampleTable(41, 1), QStringLiteral("five"));
        QCOMPARE(well(41), opaque(state.keyColor[2]));
        QCOMPARE(well(40), background());
    }

    void otherDropsMoveNothing()
    {
        drag(atWell(5), atWell(6));            // onto data: scrolls only
        QCOMPARE(state.sampleTable(5, 1), QStringLiteral("five"));
        QCOMPARE(state.sampleTable(6, 2), QStringLiteral("six"));
        QVERIFY(ringIsRed(5));
        QCOMPARE(state.topSample, 6);

        scrollBar()->setValue(20);
        drag(atWell(5), betweenWells(40, 41));
        drag(atWell(5), child<QLabel>(QStringLiteral("LblCompany"))->mapTo(window.get(), QPoint(2, 2)));
        QCOMPARE(state.sampleTable(5, 1), QStringLiteral("five"));
        QCOMPARE(well(5), opaque(ButtonShadowColour));
        QVERIFY(ringIsRed(5));
        QCOMPARE(state.topSample, 20);
        move(atWell(13));
        QCOMPARE(status(), QStringLiteral("Selected Sample: B 1"));
    }

    void staleWellsFromALargerPlateAreForgotten()
    {
        // A press straight after the window opened finds no well.
        const QPoint five = picture()->toPixel(state.spotX[5], state.spotY[5]).toPoint();
        QTest::mouseClick(picture(), Qt::LeftButton, {}, five);
        QCOMPARE(window->plateMap().litSample(), 0);

        run(QStringLiteral("MnuSetupWellnum3"));
        state.sampleTable(300, 1) = QStringLiteral("far");
        move(atWell(300));
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, atWell(300));
        run(QStringLiteral("MnuSetupWellnum0"));
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, atWell(300));
        QTest::mouseClick(picture(), Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(state.topSample, 1);
        drag(atWell(24), atWell(23));
        QVERIFY(ringIsRed(23));
    }
};

QTEST_MAIN(TestPlateMouse)
#include "tst_platemouse.moc"

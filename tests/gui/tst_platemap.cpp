#include "core/document/document.h"
#include "core/document/state.h"
#include "plate/picwell.h"
#include "plate/platemap.h"
#include "platform/colour.h"

#include <QTest>

using namespace Tessar;

class TestPlateMap : public QObject
{
    Q_OBJECT

    State state;
    std::unique_ptr<PicWell> picture;
    std::unique_ptr<PlateMap> map;

    // At two pixels per plate unit a 96-well ring is 6 pixels round.
    void startPlate(int wells, int scale = 2)
    {
        state = State();
        applyFirstRunDefaults(state);
        state.wellCount = wells;
        newDocument(state);
        picture = std::make_unique<PicWell>();
        picture->resize(81 * scale, 123 * scale);
        map = std::make_unique<PlateMap>(state, *picture);
        draw();
    }

    void draw()
    {
        map->showprofile();
        map->fillallpic();
    }

    QColor shadow() const { return picture->palette().color(QPalette::Dark).rgb(); }
    QColor keyColour(int k) const { return toQColor(state.keyColor[std::size_t(k)], picture->palette()).rgb(); }

    // The ring is smoothed: judge it along a line across its right half,
    // the disc excluded. A black ring keeps no red.
    bool ringIs(int s, Qt::GlobalColor colour) const
    {
        const QPointF centre = picture->toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]);
        const double r = picture->toPixelRadius(state.spotRad);
        bool dark = false;
        bool reddish = false;
        for (int dx = int(r * 0.8); dx <= int(r) + 2; ++dx) {
            const QColor pixel = picture->pixelAt((centre + QPointF(dx, 0)).toPoint());
            dark = dark || (pixel.red() < 128 && pixel.green() < 128);
            reddish = reddish || pixel.red() - pixel.green() > 30;
        }
        return colour == Qt::red ? reddish : dark && !reddish;
    }

private slots:
    void redRingMovesWithTheSelection()
    {
        startPlate(384, 4);
        map->hilite(300);
        state.wellCount = 96;
        newDocument(state);
        draw();
        map->hilite(5);         // the old ring lies off the new plate
        QVERIFY(ringIs(5, Qt::red));
        map->hilite(9);
        QVERIFY(ringIs(5, Qt::black) && ringIs(9, Qt::red));
        map->hilite(9);
        QVERIFY(ringIs(9, Qt::red));
        draw();                 // a redraw clears the ring but remembers the well
        QVERIFY(ringIs(9, Qt::black) && map->litSample() == 9);
        map->hilite(0);         // a well not on the plate changes nothing
        map->hilite(97);
        QCOMPARE(map->litSample(), 9);
    }

    void everyFormatDrawsEveryWell()
    {
        for (const auto &[wells, scale] : std::vector<std::pair<int, int>>{{24, 2}, {384, 4}, {1536, 8}}) {
            startPlate(wells, scale);
            state.keyName[6] = "K";
            for (int s = 1; s <= wells; ++s)
                state.sampleTable(s, s % 2 ? 0 : 1) = s % 2 ? "K" : "x";
            map->fillallpic();
            for (int s = 1; s <= wells; ++s)
                if (map->pixelOf(s) != (s % 2 ? keyColour(6) : shadow()))
                    QFAIL(qPrintable(QStringLiteral("well %1 of %2").arg(s).arg(wells)));
            // Between two wells of a row the background shows.
            const QPointF between = picture->toPixel(state.spotX[1], (state.spotY[1] + state.spotY[2]) / 2);
            QCOMPARE(picture->pixelAt(between.toPoint()), picture->backColor());
        }
    }
};

QTEST_MAIN(TestPlateMap)
#include "tst_platemap.moc"

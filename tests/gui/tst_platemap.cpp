#include "core/document.h"
#include "core/plategeometry.h"
#include "core/state.h"
#include "plate/picwell.h"
#include "plate/platemap.h"
#include "platform/colour.h"

#include <QTest>

using namespace Tessar;

namespace {

// Two pixels per plate unit: a 96-well ring is 6 pixels round, its disc 4.
constexpr int Scale = 2;

} // namespace

class TestPlateMap : public QObject
{
    Q_OBJECT

    State state;
    std::unique_ptr<PicWell> picture;
    std::unique_ptr<PlateMap> map;

    void startPlate(int wells, int scale = Scale)
    {
        state = State();
        applyFirstRunDefaults(state);
        state.wellCount = wells;
        newDocument(state);
        picture = std::make_unique<PicWell>();
        picture->resize(81 * scale, 123 * scale);
        map = std::make_unique<PlateMap>(state, *picture);
    }

    void draw()
    {
        map->showprofile();
        map->fillallpic();
    }

    // Colours as the image holds them, so palette colours compare equal.
    static QColor opaque(const QColor &colour) { return QColor(colour.rgb()); }
    QColor shadow() const { return opaque(picture->palette().color(QPalette::Dark)); }
    QColor keyColour(int k) const { return opaque(toQColor(state.keyColor[std::size_t(k)], picture->palette())); }

    // The ring of s is smoothed: judge it by the pixels on a line across
    // its right half, the disc excluded. A black ring must keep no red.
    bool ringIs(int s, const QColor &colour) const
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
        return colour == QColor(Qt::red) ? reddish : dark && !reddish;
    }

private slots:
    void init() { startPlate(96); }

    void discsTellDataAndKeyApart()
    {
        state.keyName[2] = QStringLiteral("Blank");
        state.sampleTable(1, 0) = QStringLiteral("Blank");
        state.sampleTable(2, 1) = QStringLiteral("S-01");
        draw();

        QCOMPARE(map->pixelOf(1), keyColour(2));
        QCOMPARE(keyColour(2), QColor(0, 255, 0));
        QCOMPARE(map->pixelOf(2), shadow());
        QCOMPARE(map->pixelOf(3), picture->backColor());
        QCOMPARE(map->pixelOf(96), picture->backColor());
        for (int s : {1, 2, 3, 96})
            QVERIFY2(ringIs(s, Qt::black), qPrintable(QString::number(s)));

        // The background stands apart from everything the map draws on it.
        for (const QColor &drawn : {QColor(Qt::black), QColor(Qt::red), shadow()})
            QVERIFY(picture->backColor() != drawn);
    }

    void anyFieldNamingAKeyColoursTheWell()
    {
        state.keyName[3] = QStringLiteral("Ctrl");
        state.keyName[5] = QStringLiteral("Std");
        state.sampleTable(10, 2) = QStringLiteral("Ctrl");          // a description field
        state.sampleTable(11, 0) = QStringLiteral("ctrl");          // wrong case: no key
        state.sampleTable(12, 0) = QStringLiteral("Std");
        state.sampleTable(12, 3) = QStringLiteral("Ctrl");          // the later field wins
        state.sampleTable(13, 1) = QStringLiteral("x");
        state.sampleTable(13, 5) = QStringLiteral("Std");           // one row past those in use
        state.sampleTable(14, 1) = QStringLiteral("x");
        state.sampleTable(14, 6) = QStringLiteral("Std");           // beyond that: ignored
        state.sampleTable(15, 6) = QStringLiteral("text");          // data only past the rows in use
        draw();

        QCOMPARE(map->pixelOf(10), keyColour(3));
        QCOMPARE(map->pixelOf(11), shadow());
        QCOMPARE(map->pixelOf(12), keyColour(3));
        QCOMPARE(map->pixelOf(13), keyColour(5));
        QCOMPARE(map->pixelOf(14), shadow());
        QCOMPARE(map->pixelOf(15), picture->backColor());

        // An emptied sample loses its disc and keeps a clean black ring.
        state.sampleTable(10, 2).clear();
        map->fillcell(10, 0);
        QCOMPARE(map->pixelOf(10), picture->backColor());
        QVERIFY(ringIs(10, Qt::black));
    }

    void redRingMovesWithTheSelection()
    {
        draw();
        map->hilite(5);
        QVERIFY(ringIs(5, Qt::red));
        map->hilite(9);
        QVERIFY(ringIs(5, Qt::black));
        QVERIFY(ringIs(9, Qt::red));
        QCOMPARE(map->litSample(), 9);
        map->hilite(9);
        QVERIFY(ringIs(9, Qt::red));

        // A redraw clears the ring but remembers the well.
        draw();
        QVERIFY(ringIs(9, Qt::black));
        QCOMPARE(map->litSample(), 9);

        // A well that is not on the plate changes nothing.
        map->hilite(0);
        map->hilite(97);
        QCOMPARE(map->litSample(), 9);
    }

    void selectionFromALargerPlateIsForgottenSafely()
    {
        startPlate(384);
        draw();
        map->hilite(300);
        state.wellCount = 24;
        newDocument(state);
        draw();
        map->hilite(3);          // the old ring lies off the new plate
        QVERIFY(ringIs(3, Qt::red));
    }

    void dragDrawsTheMovedDisc()
    {
        state.keyName[1] = QStringLiteral("Blank");
        state.sampleTable(5, 0) = QStringLiteral("Blank");
        state.sampleTable(6, 1) = QStringLiteral("x");
        draw();

        state.moveSample = 5;
        map->fillpos(6);                    // onto data: nothing
        QCOMPARE(map->pixelOf(5), keyColour(1));
        QCOMPARE(map->pixelOf(6), shadow());

        map->fillpos(40);
        QCOMPARE(map->pixelOf(5), picture->backColor());
        QCOMPARE(map->pixelOf(40), keyColour(1));

        state.moveSample = 0;               // nothing picked up
        map->fillpos(41);
        QCOMPARE(map->pixelOf(41), picture->backColor());
    }

    void everyFormatDrawsEveryWell_data()
    {
        QTest::addColumn<int>("wells");
        QTest::addColumn<int>("scale");
        QTest::newRow("24") << 24 << Scale;
        QTest::newRow("48") << 48 << Scale;
        QTest::newRow("96") << 96 << Scale;
        QTest::newRow("384") << 384 << 4;
        QTest::newRow("1536") << 1536 << 8;
    }

    void everyFormatDrawsEveryWell()
    {
        QFETCH(int, wells);
        QFETCH(int, scale);
        startPlate(wells, scale);
        state.keyName[6] = QStringLiteral("K");
        for (int s = 1; s <= wells; ++s)
            state.sampleTable(s, s % 2 ? 0 : 1) = s % 2 ? QStringLiteral("K") : QStringLiteral("x");
        draw();
        for (int s = 1; s <= wells; ++s) {
            const QColor expected = s % 2 ? keyColour(6) : shadow();
            if (map->pixelOf(s) != expected)
                QFAIL(qPrintable(QStringLiteral("well %1").arg(s)));
        }
        // Between two wells of a row the background shows.
        const float midY = (state.spotY[1] + state.spotY[2]) / 2;
        QCOMPARE(picture->pixelAt(picture->toPixel(state.spotX[1], midY).toPoint()), picture->backColor());
    }
};

QTEST_MAIN(TestPlateMap)
#include "tst_platemap.moc"

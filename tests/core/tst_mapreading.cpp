#include "coretest.h"

#include "core/plate/contrast.h"
#include "core/plate/picturelayout.h"
#include "core/plate/picturelegend.h"
#include "core/plate/pictureoptions.h"
#include "core/plate/plategeometry.h"
#include "core/plate/wellsummary.h"
#include "core/layout/wheelsteps.h"

#include <QTest>

#include <cmath>

using namespace Tessar;

namespace {

// Keys 2 "Std" and 5 "QC"; samples 1 and 2 have key Std.
State keyedPlate(int wells)
{
    State state = newPlate(wells);
    state.keyName[2] = QStringLiteral("Std");
    state.keyName[5] = QStringLiteral("QC");
    state.sampleTable(1, 0) = QStringLiteral("Std");
    state.sampleTable(2, 0) = QStringLiteral("Std");
    return state;
}

bool inside(const QRectF &outer, const QRectF &inner)
{
    return outer.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(inner);
}

} // namespace

// What makes the plate map readable without relying on colour alone
// (contrast, the key a well shows, its tooltip, arrow-key and wheel steps),
// and the picture of it that File > Export draws.
class TestMapReading : public QObject
{
    Q_OBJECT

private slots:
    void contrastFollowsTheGuidelines()
    {
        QCOMPARE(contrastRatio(Black, White), 21.0);
        QCOMPARE(contrastRatio(White, Black), 21.0);
        QCOMPARE(contrastRatio({12, 34, 56}, {12, 34, 56}), 1.0);
        // Reference figures: #777777 on white just misses 4.5, pure red's
        // luminance is its channel weight.
        QVERIFY(qAbs(contrastRatio({0x77, 0x77, 0x77}, White) - 4.48) < 0.01);
        QVERIFY(qAbs(relativeLuminance({255, 0, 0}) - 0.2126) < 1e-9);
        QCOMPARE(readableTextOn({255, 255, 0}), Black);   // yellow
        QCOMPARE(readableTextOn({0, 0, 255}), White);     // blue
        // Whatever colour a key gets, its text reads at 4.5:1 or better.
        for (int r = 0; r <= 255; r += 5)
            for (int g = 0; g <= 255; g += 5)
                for (int b = 0; b <= 255; b += 5) {
                    if (contrastRatio({r, g, b}, readableTextOn({r, g, b})) < 4.5)
                        QFAIL(qPrintable(QStringLiteral("%1 %2 %3").arg(r).arg(g).arg(b)));
                }
    }

    void discKeyIsTheLastFieldNamingAKey()
    {
        State state = keyedPlate(96);
        state.sampleTable(2, 3) = QStringLiteral("QC");    // a later field wins
        state.sampleTable(3, 5) = QStringLiteral("QC");    // one row past those in use
        state.sampleTable(4, 6) = QStringLiteral("QC");    // beyond that: ignored
        state.sampleTable(5, 0) = QStringLiteral("std");   // exact case only
        QList<int> keys;
        for (int s : {1, 2, 3, 4, 5, 0, 100000})
            keys.append(discKey(state, s));
        QCOMPARE(keys, QList<int>({2, 5, 5, 0, 0, 0, 0}));

        // Two keys of one name: the later one. A name matches whole and
        // exactly; an empty one names nothing.
        state.keyName[4] = QStringLiteral("Std");
        QCOMPARE(discKey(state, 1), 4);
        for (const char *other : {"St", "Stc", "Sxd", "Std ", ""})
            QCOMPARE(keyNamed(state, QLatin1String(other)), 0);
    }

    void wellTipNamesKeyAndFirstFields()
    {
        State state = newPlate(96);
        state.keyName[3] = QStringLiteral("Ctrl");
        state.fieldName[1] = QStringLiteral("Name");
        state.fieldName[3].clear();   // no caption: the value alone
        state.sampleTable(13, 0) = QStringLiteral("Ctrl");
        state.sampleTable(13, 1) = QStringLiteral("Serum");
        state.sampleTable(13, 3) = QString(60, QLatin1Char('x'));
        const WellTip tip = wellTip(state, 13);
        QCOMPARE(tip.title, QStringLiteral("B 1"));
        QCOMPARE(tip.lines, (QStringList{QStringLiteral("Key 3: Ctrl"), QStringLiteral("Name: Serum"),
                                         QString(39, QLatin1Char('x')) + QChar(0x2026)}));
        QCOMPARE(wellTip(state, 14).lines, QStringList{QStringLiteral("Empty")});
        state.sampleTable(14, 1) = QStringLiteral("a\tb\nc");
        QCOMPARE(wellTip(state, 14).lines, (QStringList{QStringLiteral("No key"), QStringLiteral("Name: a b c")}));
        QVERIFY(wellTip(state, 0).title.isEmpty() && wellTip(state, 97).lines.isEmpty());

        // A full sample shows four fields and counts the rest.
        state.numField = 10;
        for (int f = 1; f < 10; ++f)
            state.sampleTable(20, f) = QString::number(f);
        const QStringList lines = wellTip(state, 20).lines;
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.last(), QStringLiteral("and 5 more fields"));
        QCOMPARE(shortened(QStringLiteral("abcd"), 3), QStringLiteral("ab") + QChar(0x2026));
        QCOMPARE(shortened(QStringLiteral("abcd"), 0), QString());
    }

    void arrowsAndWheelStepAcrossTheMap()
    {
        // 8 rows of 12; row letters run left to right, column 1 at the bottom.
        const State state = newPlate(96);
        const struct { int from; ScreenDirection way; int to; } steps[] = {
            {13, ScreenDirection::Right, 25}, {13, ScreenDirection::Left, 1}, {13, ScreenDirection::Up, 14},
            {13, ScreenDirection::Down, 13},  {1, ScreenDirection::Left, 1},  {12, ScreenDirection::Up, 12},
            {96, ScreenDirection::Right, 96}, {85, ScreenDirection::Down, 85}, {0, ScreenDirection::Up, 0},
            {97, ScreenDirection::Left, 0}};
        for (const auto &step : steps)
            QCOMPARE(neighbourWell(state, step.from, step.way), step.to);
        QCOMPARE(neighbourWell(newPlate(384), 24, ScreenDirection::Right), 48);

        // Whole notches; a touchpad's fine movement makes a step every 120,
        // and turning back forgets the rest.
        WheelSteps wheel;
        QList<int> notches;
        for (int delta : {-120, 360, 50, 50, 50, -100, -20, 0})
            notches.append(wheel.add(delta));
        QCOMPARE(notches, QList<int>({-1, 3, 0, 0, 1, 0, -1, 0}));
        QVERIFY(wheel.add(std::numeric_limits<int>::max()) > 0);
        QVERIFY(wheel.add(std::numeric_limits<int>::min()) < 0);
    }

    void everyPartFitsAtEveryFormatAndWidth_data()
    {
        QTest::addColumn<int>("wells");
        QTest::addColumn<int>("width");
        for (int wells : {24, 48, 96, 384, 1536}) {
            for (int width : {MinPictureWidth, 1200, MaxPictureWidth})
                QTest::addRow("%d wells, %d px", wells, width) << wells << width;
        }
    }

    void everyPartFitsAtEveryFormatAndWidth()
    {
        QFETCH(int, wells);
        QFETCH(int, width);
        State state = newPlate(wells);
        state.fileDesc = QStringLiteral("Run 7");
        const PictureLayout layout(state, {width, true, true});
        const QRectF picture(QPointF(0, 0), QSizeF(layout.size()));
        QCOMPARE(layout.size().width(), width);
        QVERIFY(layout.size().height() <= MaxPictureSide);

        // Top to bottom: title, description, plate, legend, each inside the picture.
        QVERIFY(inside(picture, layout.title().box));
        QVERIFY(layout.title().box.bottom() <= layout.description().box.top() + 1e-6);
        QVERIFY(layout.description().box.bottom() < layout.plate().top());
        QVERIFY(inside(picture, layout.plate()));
        QCOMPARE(layout.plate().height() / layout.plate().width(), double(PlateHeight) / PlateWidth);
        QCOMPARE(layout.legend().size(), std::size_t(KeyCount + 1));   // six keys and the empty wells
        for (const LegendSlot &slot : layout.legend()) {
            QVERIFY(slot.swatch.y() - slot.ringRadius > layout.plate().bottom());
            QVERIFY(inside(picture, slot.text));
            QVERIFY(slot.swatch.x() + slot.ringRadius < slot.text.left());
        }

        // Every ring lies on the plate, and neighbours never touch.
        const QRectF plateArea = layout.plate();
        const PlateFormat &format = *plateFormat(wells);
        const double r = layout.ringRadius();
        QVERIFY(layout.discRadius() < r);
        for (int s = 1; s <= wells; ++s)
            QVERIFY2(inside(plateArea, QRectF(layout.wellCentre(s) - QPointF(r, r), QSizeF(2 * r, 2 * r))), qPrintable(QString::number(s)));
        const QPointF step = layout.wellCentre(2) - layout.wellCentre(1);
        QVERIFY(std::hypot(step.x(), step.y()) > 2 * r);
        QCOMPARE(layout.wellCentre(0), QPointF());
        QCOMPARE(layout.wellCentre(wells + 1), QPointF());

        // A letter over each row, a number beside each column, all on the plate.
        QCOMPARE(int(layout.rowLabels().size()), format.rows);
        QCOMPARE(int(layout.columnLabels().size()), format.cols);
        // The rows past Z as the plate names them.
        const char *lastRow = wells == 24 ? "D" : wells == 48 ? "F" : wells == 96 ? "H" : wells == 384 ? "P" : "AF";
        QCOMPARE(layout.rowLabels().front().text + ' ' + layout.rowLabels().back().text + ' ' + layout.columnLabels().back().text,
                 QStringLiteral("A %1 %2").arg(QLatin1String(lastRow)).arg(format.cols));
        for (const PictureText &label : layout.rowLabels())
            QVERIFY(plateArea.contains(label.centre) && label.centre.y() < layout.wellCentre(format.cols).y() - r && label.size > 0);
        for (const PictureText &label : layout.columnLabels())
            QVERIFY(label.centre.x() > plateArea.left() && label.centre.x() < layout.wellCentre(1).x() - r);
    }

    void titleAndLegendComeAndGo()
    {
        State state = newPlate(96);
        QCOMPARE(PictureLayout::titleOf(state), QStringLiteral("Untitled"));
        state.filePath = QStringLiteral("/data/runs/run7.kwl");
        QCOMPARE(PictureLayout::titleOf(state), QStringLiteral("run7.kwl"));
        state.fileTitle = QStringLiteral("Run 7.kwl");
        QCOMPARE(PictureLayout::titleOf(state), QStringLiteral("Run 7.kwl"));
        state.fileDesc = QStringLiteral("Line one\r\nline two");
        const PictureLayout full(state, {1000, true, true});
        QCOMPARE(full.description().text, QStringLiteral("Line one line two"));
        const PictureLayout bare(state, {1000, false, false});
        QVERIFY(bare.title().text.isEmpty() && bare.description().text.isEmpty() && bare.legend().empty());
        QVERIFY(bare.plate().top() < full.plate().top());
        // The picture ends a margin below the plate when nothing follows it.
        QVERIFY(std::abs(bare.size().height() - bare.plate().bottom() - bare.plate().left()) <= 1);

        // The height the options dialog shows is the one drawn.
        QCOMPARE(picturePixels(state, {1000, false, false}), bare.size());
        QCOMPARE(picturePixels(state, {1000, true, true}), full.size());
        // An empty description, or the prompt a new document's box shows, leaves no line.
        for (const char *nothing : {"", "Description: ", "  "}) {
            state.fileDesc = QLatin1String(nothing);
            const PictureLayout layout(state, {1000, true, true});
            QVERIFY(layout.description().text.isEmpty() && layout.size().height() < full.size().height());
        }
        // A broken geometry draws no wells and no labels rather than reading past the table.
        state.spotX.clear();
        const PictureLayout broken(state, {800, true, true});
        QVERIFY(broken.rowLabels().empty() && broken.wellCentre(1).isNull());
    }

    void legendCountsWhatTheDiscsShow()
    {
        State state = keyedPlate(24);
        state.sampleTable(3, 1) = QStringLiteral("QC");   // a description field naming a key colours the well too
        state.sampleTable(4, 1) = QStringLiteral("S-04");
        QStringList lines;
        for (const LegendEntry &entry : pictureLegend(state))
            lines.append(entry.label + u'|' + entry.amount);
        QCOMPARE(lines, QStringList({"Key 1|0 samples", "Key 2: Std|2 samples", "Key 3|0 samples", "Key 4|0 samples",
                                     "Key 5: QC|1 sample", "Key 6|0 samples", "No key|1 sample", "Empty|20 wells"}));
        const std::vector<LegendEntry> legend = pictureLegend(state);
        QCOMPARE(legend[1].disc, WellDisc({true, 2, state.keyColor[2]}));
        QCOMPARE(legend[6].disc.colour, ButtonShadowColour);
        QVERIFY(!legend[7].disc.shown);

        // A full plate has no "Empty" line; a plate without data no "No key".
        // Sample 3's description still names key 5, and the later field wins.
        for (int s = 1; s <= 24; ++s)
            state.sampleTable(s, 0) = QStringLiteral("Std");
        const std::vector<LegendEntry> full = pictureLegend(state);
        QCOMPARE(full.size(), std::size_t(KeyCount));
        QCOMPARE(full[1].count * 10 + full[4].count, 231);
        QCOMPARE(pictureLegend(newPlate(96)).back().amount, QStringLiteral("96 wells"));
    }

    void sizesPastTheBoundsAreRefused()
    {
        const State state = newPlate(384);
        for (int width : {0, -5, MinPictureWidth - 1, MaxPictureWidth + 1, 1 << 30})
            QVERIFY(!pictureSizeProblem(state, {width, true, true}).isEmpty() && picturePixels(state, {width, true, true}).isEmpty());
        for (int width : {MinPictureWidth, MaxPictureWidth})
            QVERIFY2(pictureSizeProblem(state, {width, true, true}).isEmpty(), qPrintable(QString::number(width)));
        // Lines stay a pixel wide on small pictures and grow on large ones.
        QCOMPARE(picturePixelsPerDip({400, true, true}), 1.0);
        QVERIFY(picturePixelsPerDip({4000, true, true}) > 4);
        QCOMPARE(picturePixelsPerDip({1 << 30, true, true}), picturePixelsPerDip({MaxPictureWidth, true, true}));
    }
};

QTEST_APPLESS_MAIN(TestMapReading)
#include "tst_mapreading.moc"

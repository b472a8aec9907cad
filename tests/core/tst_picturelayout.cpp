#include "core/document.h"
#include "core/picturelayout.h"
#include "core/picturelegend.h"
#include "core/pictureoptions.h"
#include "core/plategeometry.h"
#include "core/state.h"

#include <QTest>

#include <cmath>

using namespace Tessar;

namespace {

State plate(int wells)
{
    State state;
    applyFirstRunDefaults(state);
    state.wellCount = wells;
    newDocument(state);
    return state;
}

bool inside(const QRectF &outer, const QRectF &inner)
{
    return outer.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(inner);
}

} // namespace

class TestPictureLayout : public QObject
{
    Q_OBJECT

private slots:
    void everyPartFitsAtEveryFormatAndWidth_data();
    void everyPartFitsAtEveryFormatAndWidth();
    void titleAndLegendComeAndGo();
    void legendCountsWhatTheDiscsShow();
    void sizesPastTheBoundsAreRefused();
    void titleNamesTheDocument();
};

void TestPictureLayout::everyPartFitsAtEveryFormatAndWidth_data()
{
    QTest::addColumn<int>("wells");
    QTest::addColumn<int>("width");
    for (int wells : {24, 48, 96, 384, 1536}) {
        for (int width : {MinPictureWidth, 1200, MaxPictureWidth})
            QTest::addRow("%d wells, %d px", wells, width) << wells << width;
    }
}

void TestPictureLayout::everyPartFitsAtEveryFormatAndWidth()
{
    QFETCH(int, wells);
    QFETCH(int, width);
    State state = plate(wells);
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
    QVERIFY(layout.discRadius() < layout.ringRadius());
    for (int s = 1; s <= wells; ++s) {
        const QPointF c = layout.wellCentre(s);
        const double r = layout.ringRadius();
        QVERIFY2(inside(plateArea, QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r))), qPrintable(QString::number(s)));
    }
    const QPointF step = layout.wellCentre(2) - layout.wellCentre(1);
    QVERIFY(std::hypot(step.x(), step.y()) > 2 * layout.ringRadius());
    QCOMPARE(layout.wellCentre(0), QPointF());
    QCOMPARE(layout.wellCentre(wells + 1), QPointF());

    // A letter over each row, a number beside each column, all on the plate.
    QCOMPARE(int(layout.rowLabels().size()), format.rows);
    QCOMPARE(int(layout.columnLabels().size()), format.cols);
    QCOMPARE(layout.rowLabels().front().text, QStringLiteral("A"));
    QCOMPARE(layout.columnLabels().back().text, QString::number(format.cols));
    for (const PictureText &label : layout.rowLabels()) {
        QVERIFY(plateArea.contains(label.centre));
        QVERIFY(label.centre.y() < layout.wellCentre(format.cols).y() - layout.ringRadius());
        QVERIFY(label.size > 0);
    }
    for (const PictureText &label : layout.columnLabels())
        QVERIFY(label.centre.x() > plateArea.left() && label.centre.x() < layout.wellCentre(1).x() - layout.ringRadius());
}

void TestPictureLayout::titleAndLegendComeAndGo()
{
    State state = plate(96);
    state.fileDesc = QStringLiteral("Line one\r\nline two");
    const PictureLayout full(state, {1000, true, true});
    QCOMPARE(full.description().text, QStringLiteral("Line one line two"));
    const PictureLayout bare(state, {1000, false, false});
    QVERIFY(bare.title().text.isEmpty());
    QVERIFY(bare.description().text.isEmpty());
    QVERIFY(bare.legend().empty());
    QVERIFY(bare.plate().top() < full.plate().top());
    QVERIFY(bare.size().height() < full.size().height());
    // The picture ends a margin below the plate when nothing follows it.
    QVERIFY(std::abs(bare.size().height() - bare.plate().bottom() - bare.plate().left()) <= 1);

    // The height the options dialog shows is the one drawn.
    QCOMPARE(picturePixels(state, {1000, false, false}), bare.size());
    QCOMPARE(picturePixels(state, {1000, true, true}), full.size());
    // An empty description, or the prompt a new document's box shows, leaves no line.
    for (const char *nothing : {"", "Description: ", "  "}) {
        state.fileDesc = QLatin1String(nothing);
        const PictureLayout layout(state, {1000, true, true});
        QVERIFY(layout.description().text.isEmpty());
        QVERIFY(layout.size().height() < full.size().height());
    }
}

void TestPictureLayout::legendCountsWhatTheDiscsShow()
{
    State state = plate(24);
    state.keyName[2] = QStringLiteral("Std");
    state.keyName[5] = QStringLiteral("QC");
    state.sampleTable(1, 0) = QStringLiteral("Std");
    state.sampleTable(2, 0) = QStringLiteral("Std");
    state.sampleTable(3, 1) = QStringLiteral("QC");   // a description field naming a key colours the well too
    state.sampleTable(4, 1) = QStringLiteral("S-04");
    const std::vector<LegendEntry> legend = pictureLegend(state);
    QCOMPARE(legend.size(), std::size_t(8));
    QCOMPARE(legend[0].label, QStringLiteral("Key 1"));
    QCOMPARE(legend[0].amount, QStringLiteral("0 samples"));
    QCOMPARE(legend[1].label, QStringLiteral("Key 2: Std"));
    QCOMPARE(legend[1].amount, QStringLiteral("2 samples"));
    QCOMPARE(legend[1].disc, WellDisc({true, 2, state.keyColor[2]}));
    QCOMPARE(legend[4].label, QStringLiteral("Key 5: QC"));
    QCOMPARE(legend[4].amount, QStringLiteral("1 sample"));
    QCOMPARE(legend[6].label, QStringLiteral("No key"));
    QCOMPARE(legend[6].count, 1);
    QCOMPARE(legend[6].disc.colour, ButtonShadowColour);
    QCOMPARE(legend[7].label, QStringLiteral("Empty"));
    QCOMPARE(legend[7].amount, QStringLiteral("20 wells"));
    QVERIFY(!legend[7].disc.shown);

    // A full plate has no "Empty" line; a plate without data no "No key".
    // Sample 3's description still names key 5, and the later field wins.
    for (int s = 1; s <= 24; ++s)
        state.sampleTable(s, 0) = QStringLiteral("Std");
    const std::vector<LegendEntry> full = pictureLegend(state);
    QCOMPARE(full.size(), std::size_t(KeyCount));
    QCOMPARE(full[1].count, 23);
    QCOMPARE(full[4].count, 1);
    QCOMPARE(pictureLegend(plate(96)).back().amount, QStringLiteral("96 wells"));
}

void TestPictureLayout::sizesPastTheBoundsAreRefused()
{
    const State state = plate(384);
    for (int width : {0, -5, MinPictureWidth - 1, MaxPictureWidth + 1, 1 << 30}) {
        QVERIFY(!pictureSizeProblem(state, {width, true, true}).isEmpty());
        QVERIFY(picturePixels(state, {width, true, true}).isEmpty());
    }
    for (int width : {MinPictureWidth, MaxPictureWidth})
        QVERIFY2(pictureSizeProblem(state, {width, true, true}).isEmpty(), qPrintable(QString::number(width)));
    // Lines stay a pixel wide on small pictures and grow on large ones.
    QCOMPARE(picturePixelsPerDip({400, true, true}), 1.0);
    QVERIFY(picturePixelsPerDip({4000, true, true}) > 4);
    QCOMPARE(picturePixelsPerDip({1 << 30, true, true}), picturePixelsPerDip({MaxPictureWidth, true, true}));
}

void TestPictureLayout::titleNamesTheDocument()
{
    State state = plate(96);
    QCOMPARE(PictureLayout::titleOf(state), QStringLiteral("Untitled"));
    state.filePath = QStringLiteral("/data/runs/run7.kwl");
    QCOMPARE(PictureLayout::titleOf(state), QStringLiteral("run7.kwl"));
    state.fileTitle = QStringLiteral("Run 7.kwl");
    QCOMPARE(PictureLayout::titleOf(state), QStringLiteral("Run 7.kwl"));
    // A broken geometry draws no wells and no labels rather than reading past the table.
    state.spotX.clear();
    const PictureLayout layout(state, {800, true, true});
    QVERIFY(layout.rowLabels().empty());
    QCOMPARE(layout.wellCentre(1), QPointF());
}

QTEST_APPLESS_MAIN(TestPictureLayout)
#include "tst_picturelayout.moc"

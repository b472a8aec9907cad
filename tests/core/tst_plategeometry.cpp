#include "core/document.h"
#include "core/plategeometry.h"
#include "core/state.h"

#include <QTest>

using namespace Tessar;

class TestPlateGeometry : public QObject
{
    Q_OBJECT

private slots:
    void wellCentres();
    void wellNamesAndHits();
    void tableBounds();
    void sampleHasData();
};

void TestPlateGeometry::wellCentres()
{
    // The first well, the last of row A (top of the plate picture) and the
    // last well of every format. Exact comparison on purpose: these are the
    // single-precision figures the layout has always produced.
    const struct { int format, sample; float x, y, radius; } wells[] = {
        {24, 1, 14.1f, 16.25f, 5.0f},   {24, 6, 14.1f, 111.5f, 5.0f},     {24, 24, 71.25f, 111.5f, 5.0f},
        {48, 8, 8.75f, 104.0f, 3.0f},   {48, 48, 76.25f, 104.0f, 3.0f},   {96, 1, 9.0f, 12.0f, 3.0f},
        {96, 13, 18.0f, 12.0f, 3.0f},   {96, 96, 72.0f, 111.0f, 3.0f},    {384, 24, 9.0f, 115.5f, 1.5f},
        {384, 25, 13.5f, 12.0f, 1.5f},  {384, 384, 76.5f, 115.5f, 1.5f}, {1536, 1536, 78.75f, 117.75f, 0.75f},
    };
    for (const auto &w : wells) {
        State state;
        QVERIFY(spotcoords(state, w.format));
        QCOMPARE(state.spotX.at(w.sample), w.x);
        QCOMPARE(state.spotY.at(w.sample), w.y);
        QCOMPARE(state.spotRad, w.radius);
    }
}

void TestPlateGeometry::wellNamesAndHits()
{
    State state;
    spotcoords(state, 384);
    QCOMPARE(spotname(state, 24).toString(), QStringLiteral("A 24"));
    QCOMPARE(spotname(state, 25).toString(), QStringLiteral("B 1"));
    QCOMPARE(spotname(state, 384).toString(), QStringLiteral("P 24"));
    // Rows past Z go on through the characters after it.
    spotcoords(state, 1536);
    QCOMPARE(spotname(state, 1536).letter, QChar(u'`'));

    spotcoords(state, 96);
    state.wellCount = 96;
    QCOMPARE(spotat(state, 18.0f + 2.9f, 12.0f), 13);
    QCOMPARE(spotat(state, 18.0f + 3.0f, 12.0f), 0);   // on the ring is outside
    for (int format : {24, 48, 384, 1536}) {
        spotcoords(state, format);
        state.wellCount = format;
        for (int s = 1; s <= format; ++s) {
            if (spotat(state, state.spotX[s], state.spotY[s]) != s)
                QFAIL(qPrintable(QStringLiteral("centre of %1 in %2").arg(s).arg(format)));
        }
    }
}

void TestPlateGeometry::tableBounds()
{
    // Laying out again empties the table, also for the same format; an
    // unknown format changes nothing.
    State state;
    spotcoords(state, 96);
    state.sampleTable(5, 1) = QStringLiteral("x");
    spotcoords(state, 96);
    QVERIFY(state.sampleTable(5, 1).isEmpty());
    state.sampleTable(3, 0) = QStringLiteral("kept");
    QVERIFY(!spotcoords(state, 100));
    QCOMPARE(state.nCols, 12);
    QCOMPARE(state.sampleTable(3, 0), QStringLiteral("kept"));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.sampleTable(107, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.sampleTable(1, 21));

    // A document started for a format nobody can lay out gets the default plate.
    state.wellCount = 500;
    newDocument(state);
    QCOMPARE(state.wellCount, 96);
}

void TestPlateGeometry::sampleHasData()
{
    State state;
    applyFirstRunDefaults(state);
    newDocument(state);
    state.sampleTable(1, 5) = QStringLiteral("beyond the rows in use");
    QVERIFY(!SampleHasData(state, 1));
    state.sampleTable(1, 0) = QStringLiteral("key only");
    QVERIFY(SampleHasData(state, 1));
    QVERIFY(!SampleHasData(state, 5000));

    // New empties one slot past the rows in use too, and nothing beyond.
    state.sampleTable(2, 5) = QStringLiteral("slot");
    state.sampleTable(2, 6) = QStringLiteral("beyond");
    clearSamples(state);
    QVERIFY(state.sampleTable(1, 0).isEmpty());
    QVERIFY(state.sampleTable(2, 5).isEmpty());
    QCOMPARE(state.sampleTable(2, 6), QStringLiteral("beyond"));
}

QTEST_APPLESS_MAIN(TestPlateGeometry)
#include "tst_plategeometry.moc"

#include "core/document.h"
#include "core/plategeometry.h"
#include "core/state.h"

#include <QTest>

using namespace Tessar;

class TestPlateGeometry : public QObject
{
    Q_OBJECT

private slots:
    void wellCentres_data();
    void wellCentres();
    void tableBounds();
    void wellNames();
    void hitTest();
    void unknownFormatIsRefused();
    void sampleHasData();
};

void TestPlateGeometry::wellCentres_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("sample");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("radius");

    QTest::newRow("96 first") << 96 << 1 << 9.0f << 12.0f << 3.0f;
    QTest::newRow("96 top of row A") << 96 << 12 << 9.0f << 111.0f << 3.0f;
    QTest::newRow("96 row B") << 96 << 13 << 18.0f << 12.0f << 3.0f;
    QTest::newRow("96 last") << 96 << 96 << 72.0f << 111.0f << 3.0f;
    QTest::newRow("24 first") << 24 << 1 << 14.1f << 16.25f << 5.0f;
    QTest::newRow("24 top of row A") << 24 << 6 << 14.1f << 111.5f << 5.0f;
    QTest::newRow("24 last") << 24 << 24 << 71.25f << 111.5f << 5.0f;
    QTest::newRow("48 top of row A") << 48 << 8 << 8.75f << 104.0f << 3.0f;
    QTest::newRow("48 last") << 48 << 48 << 76.25f << 104.0f << 3.0f;
    QTest::newRow("384 top of row A") << 384 << 24 << 9.0f << 115.5f << 1.5f;
    QTest::newRow("384 row B") << 384 << 25 << 13.5f << 12.0f << 1.5f;
    QTest::newRow("384 last") << 384 << 384 << 76.5f << 115.5f << 1.5f;
    QTest::newRow("1536 first") << 1536 << 1 << 9.0f << 12.0f << 0.75f;
    QTest::newRow("1536 last") << 1536 << 1536 << 78.75f << 117.75f << 0.75f;
}

void TestPlateGeometry::wellCentres()
{
    QFETCH(int, format);
    QFETCH(int, sample);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, radius);

    State state;
    QVERIFY(spotcoords(state, format));
    // Exact comparison on purpose: these are the single-precision figures
    // the layout has always produced.
    QCOMPARE(state.spotX.at(sample), x);
    QCOMPARE(state.spotY.at(sample), y);
    QCOMPARE(state.spotRad, radius);
    QCOMPARE(state.spotX.at(0), 0.0f);
}

void TestPlateGeometry::tableBounds()
{
    const struct { int format, rows, cols, lastSample, lastField, lastSpot; } plates[] = {
        {24, 4, 6, 100, 100, 100},   {48, 6, 8, 100, 100, 100},  {96, 8, 12, 106, 20, 106},
        {384, 16, 24, 399, 20, 394}, {1536, 32, 48, 1551, 20, 1546},
    };
    for (const auto &p : plates) {
        State state;
        QVERIFY(spotcoords(state, p.format));
        QCOMPARE(state.nRows, p.rows);
        QCOMPARE(state.nCols, p.cols);
        QCOMPARE(state.sampleTable.lastSample(), p.lastSample);
        QCOMPARE(state.sampleTable.lastField(), p.lastField);
        QCOMPARE(int(state.spotX.size()) - 1, p.lastSpot);
        // The frames may show up to ten samples past the last one.
        QVERIFY(state.sampleTable.contains(p.format + MaxFrames - 1, 20));
    }

    // Laying out again empties the table, also for the same format.
    State state;
    spotcoords(state, 96);
    state.sampleTable(5, 1) = QStringLiteral("x");
    spotcoords(state, 96);
    QVERIFY(state.sampleTable(5, 1).isEmpty());
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.sampleTable(107, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.sampleTable(1, 21));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, state.sampleTable(-1, 0));
}

void TestPlateGeometry::wellNames()
{
    State state;
    spotcoords(state, 96);
    QCOMPARE(spotname(state, 13).toString(), QStringLiteral("B 1"));
    QCOMPARE(spotname(state, 96).toString(), QStringLiteral("H 12"));

    spotcoords(state, 384);
    QCOMPARE(spotname(state, 1).toString(), QStringLiteral("A 1"));
    QCOMPARE(spotname(state, 24).toString(), QStringLiteral("A 24"));
    QCOMPARE(spotname(state, 25).toString(), QStringLiteral("B 1"));
    QCOMPARE(spotname(state, 384).toString(), QStringLiteral("P 24"));

    // Rows past Z go on through the characters after it.
    spotcoords(state, 1536);
    QCOMPARE(spotname(state, 1536).letter, QChar(u'`'));
    QCOMPARE(spotname(state, 1536).number, 48);
    QCOMPARE(spotname(state, 26 * 48 + 1).letter, QChar(u'['));
}

void TestPlateGeometry::hitTest()
{
    State state;
    spotcoords(state, 96);
    state.wellCount = 96;
    QCOMPARE(spotat(state, 18.0f, 12.0f), 13);
    QCOMPARE(spotat(state, 18.0f + 2.9f, 12.0f), 13);
    // Exactly on the ring is outside: the test is strict.
    QCOMPARE(spotat(state, 18.0f + 3.0f, 12.0f), 0);
    QCOMPARE(spotat(state, 13.5f, 12.0f), 0);       // between rings
    QCOMPARE(spotat(state, -5.0f, 500.0f), 0);      // off the plate
    QCOMPARE(spotat(state, 72.0f, 111.0f), 96);

    for (int format : {24, 48, 384, 1536}) {
        spotcoords(state, format);
        state.wellCount = format;
        for (int s = 1; s <= format; ++s) {
            if (spotat(state, state.spotX[s], state.spotY[s]) != s)
                QFAIL(qPrintable(QStringLiteral("centre of %1 in %2").arg(s).arg(format)));
        }
    }
}

void TestPlateGeometry::unknownFormatIsRefused()
{
    State state;
    spotcoords(state, 96);
    state.sampleTable(3, 0) = QStringLiteral("kept");
    QVERIFY(!spotcoords(state, 100));
    QVERIFY(!spotcoords(state, 0));
    QCOMPARE(state.nCols, 12);
    QCOMPARE(state.sampleTable(3, 0), QStringLiteral("kept"));

    // A document started for a format nobody can lay out gets the default plate.
    state.wellCount = 500;
    newDocument(state);
    QCOMPARE(state.wellCount, 96);
    QCOMPARE(state.topSample, 1);
}

void TestPlateGeometry::sampleHasData()
{
    State state;
    applyFirstRunDefaults(state);
    newDocument(state);
    QCOMPARE(state.fieldName[0], QStringLiteral("Key"));
    QCOMPARE(state.keyColor[0], 0x80000010u);
    QCOMPARE(state.keyColor[1], 0xFF0000u);
    QCOMPARE(state.keyColor[6], 0x00FFFFu);

    QVERIFY(!SampleHasData(state, 1));
    state.sampleTable(1, 5) = QStringLiteral("beyond the rows in use");
    QVERIFY(!SampleHasData(state, 1));
    state.sampleTable(1, 0) = QStringLiteral("key only");
    QVERIFY(SampleHasData(state, 1));
    QVERIFY(!SampleHasData(state, 5000));

    // New keeps one slot past the rows in use empty too, and nothing beyond.
    state.sampleTable(2, 5) = QStringLiteral("slot");
    state.sampleTable(2, 6) = QStringLiteral("beyond");
    clearSamples(state);
    QVERIFY(state.sampleTable(1, 0).isEmpty());
    QVERIFY(state.sampleTable(2, 5).isEmpty());
    QCOMPARE(state.sampleTable(2, 6), QStringLiteral("beyond"));
}

QTEST_APPLESS_MAIN(TestPlateGeometry)
#include "tst_plategeometry.moc"

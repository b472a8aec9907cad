#include "coretest.h"

#include "core/editing/selectionfill.h"
#include "core/plate/plategeometry.h"

#include <QTest>

using namespace Tessar;

class TestWellSelection : public QObject
{
    Q_OBJECT

private slots:
    void rectanglesAndHeadersPickByCentre()
    {
        const State state = newPlate(96);
        const float half = 4.5f;
        // Corners either way round; a centre on the edge counts, a ring half inside does not.
        QCOMPARE(wellsInside(state, state.spotX[28], state.spotY[28], state.spotX[1], state.spotY[1]).size(), 12u);
        QCOMPARE(wellsInside(state, state.spotX[1] + 0.1f, state.spotY[1], state.spotX[1] + half, 200).size(), 0u);
        QCOMPARE(wellsInside(state, 0, 0, 81, 123), allWells(state));
        QCOMPARE(wellsInBand(state, state.spotX[1] + 1, state.spotY[1] - 1, state.spotX[28] - 1, state.spotY[28] - 1).size(), 12u);
        QCOMPARE(wellsInside(state, qQNaN(), 0, 81, 123).size(), 0u);

        QCOMPARE(wellsOfColumn(state, 12), (WellSet{12, 24, 36, 48, 60, 72, 84, 96}));
        QCOMPARE(wellsOfRow(state, 2).front(), 13);
        QVERIFY(wellsOfRow(state, 9).empty() && wellsOfColumn(state, 0).empty());

        QCOMPARE(headerAt(state, state.spotX[13], 122).row, 2);
        QCOMPARE(headerAt(state, 1, state.spotY[12]).column, 12);
        const PlateHeader onWell = headerAt(state, state.spotX[13], state.spotY[13]);
        QVERIFY(onWell.row == 0 && onWell.column == 0);

        QCOMPARE(toggled(toggled({3, 9}, 5), 9), (WellSet{3, 5}));
        QCOMPARE(joined({1, 4}, {2, 4}), (WellSet{1, 2, 4}));
    }

    void fillOrdersFollowThePlate()
    {
        const State state = newPlate(96);
        const WellSet block{1, 2, 13, 14};   // A1 A2 B1 B2
        QCOMPARE(fillOrder(state, block, FillOrder::AcrossRows), block);
        QCOMPARE(fillOrder(state, block, FillOrder::DownColumns), (WellSet{1, 13, 2, 14}));
        QCOMPARE(fillOrder(state, {14, 1}, FillOrder::SampleNumbers), (WellSet{1, 14}));
    }

    void fillValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("series");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("replicates");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("refused");
        const int same = int(FillSeries::Same), up = int(FillSeries::CountUp), dilute = int(FillSeries::Dilute);
        QTest::newRow("same") << "Blank" << same << 1.0 << 1 << 2 << QStringList{"Blank", "Blank"} << false;
        QTest::newRow("zeros kept") << "S008" << up << 1.0 << 1 << 3 << QStringList{"S008", "S009", "S010"} << false;
        QTest::newRow("zeros outgrown") << "99" << up << 1.0 << 1 << 2 << QStringList{"99", "100"} << false;
        QTest::newRow("replicates") << "x1" << up << 5.0 << 3 << 4 << QStringList{"x1", "x1", "x1", "x6"} << false;
        QTest::newRow("downwards") << "A01" << up << -1.0 << 1 << 3 << QStringList{"A01", "A00", "A-01"} << false;
        QTest::newRow("no number") << "Std" << up << 1.0 << 1 << 2 << QStringList() << true;
        QTest::newRow("halving") << "100" << dilute << 0.5 << 1 << 4 << QStringList{"100", "50", "25", "12.5"} << false;
        QTest::newRow("4 digits") << "1" << dilute << 1 / 3.0 << 2 << 4 << QStringList{"1", "1", "0.3333", "0.3333"} << false;
        QTest::newRow("not a number") << "ten" << dilute << 0.5 << 1 << 1 << QStringList() << true;
        QTest::newRow("quote") << "a\"b" << same << 1.0 << 1 << 1 << QStringList() << true;
    }

    void fillValues()
    {
        QFETCH(QString, text);
        QFETCH(int, series);
        QFETCH(double, step);
        QFETCH(int, replicates);
        QFETCH(int, count);
        QFETCH(QStringList, values);
        QFETCH(bool, refused);
        FillRule rule{text, FillSeries(series), (long long)step, step, replicates};
        const FillValues result = Tessar::fillValues(rule, count);
        QCOMPARE(result.values, values);
        QCOMPARE(!result.problem.isEmpty(), refused);
    }

    void commandsTouchOnlyThePick()
    {
        State state = newPlate(96);
        state.keyName[2] = "Std";
        state.sampleTable(5, 1) = "kept";
        state.sampleTable(7, 1) = "gone";
        QVERIFY(insertKeyInto(state, {3, 7, 500}, 2));
        QCOMPARE(state.sampleTable(3, 0) + state.sampleTable(7, 0) + state.sampleTable(5, 0), "StdStd");
        QVERIFY(deleteAllIn(state, {7}));
        QCOMPARE(state.sampleTable(7, 0) + state.sampleTable(7, 1) + state.sampleTable(5, 1), "kept");

        QVERIFY(checkFill(state, 0, {"Std", ""}).isEmpty());
        QVERIFY(!checkFill(state, 0, {"Other"}).isEmpty());
        QVERIFY(!applyFill(state, 0, {1}, {"Other"}));
        QVERIFY(applyFill(state, 1, {1, 13}, {"a", "b"}));
        QCOMPARE(state.sampleTable(13, 1), "b");
        QCOMPARE(parseFactor("1/10").value_or(0), 0.1);
        QVERIFY(!parseFactor("1/0") && !parseFactor("-2") && !parseFactor("x"));
    }
};

QTEST_APPLESS_MAIN(TestWellSelection)
#include "tst_wellselection.moc"

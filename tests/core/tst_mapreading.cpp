#include "core/contrast.h"
#include "core/document.h"
#include "core/plategeometry.h"
#include "core/state.h"
#include "core/wellsummary.h"
#include "core/wheelsteps.h"

#include <QTest>

using namespace Tessar;

// What makes the plate map readable without relying on colour alone:
// contrast, the key a well shows, its tooltip, arrow-key steps and wheel steps.
class TestMapReading : public QObject
{
    Q_OBJECT

    static State plate(int wells)
    {
        State state;
        applyFirstRunDefaults(state);
        state.wellCount = wells;
        newDocument(state);
        return state;
    }

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
        QCOMPARE(readableTextOn(White), Black);
        QCOMPARE(readableTextOn(Black), White);

        // Whatever colour a key gets, its text reads at 4.5:1 or better.
        for (int r = 0; r <= 255; r += 5)
            for (int g = 0; g <= 255; g += 5)
                for (int b = 0; b <= 255; b += 5) {
                    const Rgb colour{r, g, b};
                    if (contrastRatio(colour, readableTextOn(colour)) < 4.5)
                        QFAIL(qPrintable(QStringLiteral("%1 %2 %3").arg(r).arg(g).arg(b)));
                }
    }

    void discKeyIsTheLastFieldNamingAKey()
    {
        State state = plate(96);
        state.keyName[2] = QStringLiteral("Std");
        state.keyName[5] = QStringLiteral("QC");
        state.sampleTable(1, 0) = QStringLiteral("Std");
        state.sampleTable(2, 0) = QStringLiteral("Std");
        state.sampleTable(2, 3) = QStringLiteral("QC");    // a later field wins
        state.sampleTable(3, 5) = QStringLiteral("QC");    // one row past those in use
        state.sampleTable(4, 6) = QStringLiteral("QC");    // beyond that: ignored
        state.sampleTable(5, 0) = QStringLiteral("std");   // exact case only
        const int expected[] = {2, 5, 5, 0, 0};
        for (int s = 1; s <= 5; ++s)
            QCOMPARE(discKey(state, s), expected[s - 1]);
        QCOMPARE(discKey(state, 0), 0);
        QCOMPARE(discKey(state, 100000), 0);

        // Two keys of one name: the later one. A name matches whole and
        // exactly; an empty one names nothing.
        state.keyName[4] = QStringLiteral("Std");
        QCOMPARE(discKey(state, 1), 4);
        QCOMPARE(keyNamed(state, QStringLiteral("St")), 0);
        QCOMPARE(keyNamed(state, QStringLiteral("Stc")), 0);
        QCOMPARE(keyNamed(state, QStringLiteral("Sxd")), 0);   // alike at both ends
        QCOMPARE(keyNamed(state, QStringLiteral("Std ")), 0);
        state.keyName[6].clear();
        QCOMPARE(keyNamed(state, QString()), 0);
        QCOMPARE(keyNamed(state, state.keyName[4]), 4);
    }

    void wellTipNamesKeyAndFirstFields()
    {
        State state = plate(96);
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

        QCOMPARE(shortened(QStringLiteral("abc"), 3), QStringLiteral("abc"));
        QCOMPARE(shortened(QStringLiteral("abcd"), 3), QStringLiteral("ab") + QChar(0x2026));
        QCOMPARE(shortened(QStringLiteral("abcd"), 0), QString());
    }

    void arrowsStepAcrossTheMapAndStopAtItsEdges()
    {
        State state = plate(96);   // 8 rows of 12; row letters run left to right
        QCOMPARE(neighbourWell(state, 13, ScreenDirection::Right), 25);   // B 1 -> C 1
        QCOMPARE(neighbourWell(state, 13, ScreenDirection::Left), 1);
        QCOMPARE(neighbourWell(state, 13, ScreenDirection::Up), 14);      // column 2 lies above
        QCOMPARE(neighbourWell(state, 13, ScreenDirection::Down), 13);    // column 1 is the bottom
        QCOMPARE(neighbourWell(state, 1, ScreenDirection::Left), 1);
        QCOMPARE(neighbourWell(state, 12, ScreenDirection::Up), 12);
        QCOMPARE(neighbourWell(state, 96, ScreenDirection::Right), 96);
        QCOMPARE(neighbourWell(state, 85, ScreenDirection::Down), 85);
        QCOMPARE(neighbourWell(state, 0, ScreenDirection::Up), 0);
        QCOMPARE(neighbourWell(state, 97, ScreenDirection::Left), 0);
        State wide = plate(384);
        QCOMPARE(neighbourWell(wide, 24, ScreenDirection::Right), 48);
    }

    void wheelStepsAddUpToWholeNotches()
    {
        WheelSteps wheel;
        QCOMPARE(wheel.add(-120), -1);
        QCOMPARE(wheel.add(360), 3);
        // A touchpad's fine movement makes a step every 120.
        QCOMPARE(wheel.add(50) + wheel.add(50), 0);
        QCOMPARE(wheel.add(50), 1);
        QCOMPARE(wheel.add(-100), 0);   // turning back forgets the rest
        QCOMPARE(wheel.add(-20), -1);
        QCOMPARE(wheel.add(0), 0);
        QVERIFY(wheel.add(std::numeric_limits<int>::max()) > 0);
        QVERIFY(wheel.add(std::numeric_limits<int>::min()) < 0);
    }
};

QTEST_APPLESS_MAIN(TestMapReading)
#include "tst_mapreading.moc"

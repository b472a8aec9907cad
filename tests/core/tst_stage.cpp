#include "coretest.h"

#include "core/stage/stagepositions.h"
#include "core/stage/stagesettings.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace Tessar;

namespace {

const PlateType &builtIn(const QString &name)
{
    for (const PlateType &type : builtInPlateTypes()) {
        if (type.name == name)
            return type;
    }
    qFatal("no plate type %s", qPrintable(name));
}

// Every well of a plate of `wells`, or those a generator picks.
std::vector<RouteWell> plateWells(const PlateType &type, double share = 1, quint32 seed = 1)
{
    QRandomGenerator random(seed);
    std::vector<RouteWell> wells;
    for (int s = 1; s <= type.wells(); ++s) {
        if (share < 1 && random.generateDouble() >= share)
            continue;
        const GridWell place = placeOfSample(type, s);
        wells.push_back({s, place, wellCentre(type, place)});
    }
    return wells;
}

QStringList labels(const std::vector<RouteWell> &wells, const std::vector<int> &route)
{
    QStringList names;
    for (int i : route)
        names << stageWellName(wells[std::size_t(i)].well);
    return names;
}

bool visitsEachOnce(const std::vector<RouteWell> &wells, std::vector<int> route)
{
    std::sort(route.begin(), route.end());
    for (std::size_t i = 0; i < route.size(); ++i) {
        if (route[i] != int(i))
            return false;
    }
    return route.size() == wells.size();
}

Calibration taught(const PlateType &type, const AffineMap &truth, const QStringList &wells, StageUnit unit,
                   bool xToRight = true, bool yDown = true)
{
    Calibration c{QStringLiteral("Holder"), type.name, unit, xToRight, yDown, {}};
    for (const QString &name : wells) {
        const GridWell place = *parseStageWell(type, name);
        c.wells.push_back({place, truth.map(wellCentre(type, place))});
    }
    return c;
}

AffineMap turned(double degrees, double scale, QPointF offset, bool mirror = false)
{
    const double r = degrees * std::numbers::pi / 180;
    const double m = mirror ? -1 : 1;
    return {scale * std::cos(r), -m * scale * std::sin(r), scale * std::sin(r), m * scale * std::cos(r), offset.x(),
            offset.y()};
}

} // namespace

class TestStage : public QObject
{
    Q_OBJECT

private slots:
    void wellCentresAndNames()
    {
        struct Corner { const char *type; const char *well; double x, y; };
        for (const Corner &c : std::initializer_list<Corner>{
                 {"ANSI/SLAS 96", "A1", 14.38, 11.24}, {"ANSI/SLAS 96", "A12", 113.38, 11.24},
                 {"ANSI/SLAS 96", "H12", 113.38, 74.24}, {"ANSI/SLAS 384", "A1", 12.13, 8.99},
                 {"ANSI/SLAS 384", "A24", 115.63, 8.99}, {"ANSI/SLAS 384", "P24", 115.63, 76.49},
                 {"ANSI/SLAS 1536", "A1", 11.005, 7.865}, {"ANSI/SLAS 1536", "A48", 116.755, 7.865},
                 {"ANSI/SLAS 1536", "AF48", 116.755, 77.615}}) {
            const PlateType &type = builtIn(c.type);
            const QPointF at = wellCentre(type, *parseStageWell(type, QString::fromLatin1(c.well)));
            QVERIFY2(std::abs(at.x() - c.x) < 1e-9 && std::abs(at.y() - c.y) < 1e-9, c.well);
        }
        // A type of one's own may space rows and columns apart differently.
        PlateType narrow = builtIn("ANSI/SLAS 96");
        narrow.pitchY = 4.5;
        QCOMPARE(wellCentre(narrow, GridWell{8, 12}), QPointF(14.38 + 11 * 9, 11.24 + 7 * 4.5));
        for (const PlateType &type : builtInPlateTypes()) {
            QVERIFY2(plateTypeProblem(type).isEmpty(), qPrintable(type.name));
            QCOMPARE(type.typical, type.wells() < 96);
        }

        const PlateType &big = builtIn("ANSI/SLAS 1536");
        QCOMPARE(stageWellName(placeOfSample(big, 26 * 48)), "Z48");
        QCOMPARE(stageWellName(placeOfSample(big, 26 * 48 + 1)), "AA1");
        QCOMPARE(stageWellName(placeOfSample(big, 1536)), "AF48");
        for (const char *name : {"ag1", "A49", "A0", "1A", "", "A", "A+1", "ÄA1"})
            QVERIFY2(!parseStageWell(big, QString::fromUtf8(name)), name);
        QCOMPARE(*parseStageWell(big, u" af 07"), (GridWell{32, 7}));
    }

    void plateTypesRefused()
    {
        const PlateType good = builtIn("ANSI/SLAS 96");
        struct Bad { const char *why; std::function<void(PlateType &)> spoil; const char *says; };
        const std::vector<Bad> bad{
            {"no name", [](PlateType &t) { t.name = "  "; }, "needs a name"},
            {"no plate of ours", [](PlateType &t) { t.rows = 12; t.cols = 8; }, "none of the plates"},
            {"no pitch", [](PlateType &t) { t.pitchY = 0; }, "pitch"},
            {"not a number", [](PlateType &t) { t.pitchX = std::nan(""); }, "pitch"},
            {"off the footprint", [](PlateType &t) { t.pitchX = 11; }, "H12"},
            {"A1 outside", [](PlateType &t) { t.a1Left = -1; }, "A1 must lie"},
            {"wells overlap", [](PlateType &t) { t.wellDiameter = 9.5; }, "overlap"},
            {"rows overlap", [](PlateType &t) { t.pitchY = 4.5; t.wellDiameter = 6; }, "overlap"},
        };
        for (const Bad &b : bad) {
            PlateType t = good;
            b.spoil(t);
            QVERIFY2(plateTypeProblem(t).contains(QLatin1String(b.says)), b.why);
        }
        QString problem;
        QVERIFY(parseCustomPlate(u"8x12,14.38,11.24,9,9", &problem));
        QVERIFY(!parseCustomPlate(u"8x12,14.38,11.24,9", &problem));
        QVERIFY(!parseCustomPlate(u"8x12,14,38,11,24", &problem) || problem.isEmpty());
        QVERIFY(!parseCustomPlate(u"8x12,1e3,11.24,9,9", &problem));
        QVERIFY(problem.contains("A1 must lie") || problem.contains("outside"));
    }

    // Taught wells generated from a known transform: the fit must find it
    // again, and place every other well where the transform puts it.
    void knownFits_data()
    {
        QTest::addColumn<QStringList>("wells");
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("xToRight");
        QTest::addColumn<bool>("yDown");
        QTest::addColumn<double>("degrees");
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<double>("shear");
        QTest::newRow("two wells, turned, µm") << QStringList{"A1", "H12"} << 0 << true << true << 1.5 << false << 0.0;
        QTest::newRow("two wells, Y up, mm") << QStringList{"A1", "H12"} << 1 << true << false << -0.7 << true << 0.0;
        QTest::newRow("two wells, X left") << QStringList{"B2", "G11"} << 0 << false << true << 180.3 << true << 0.0;
        QTest::newRow("three wells, mirrored") << QStringList{"A1", "H12", "A12"} << 0 << true << true << 2.0 << true << 0.0;
        QTest::newRow("three wells, sheared, mm") << QStringList{"A1", "H12", "A12"} << 1 << true << true << -3.0 << false << 0.01;
    }

    void knownFits()
    {
        QFETCH(QStringList, wells);
        QFETCH(int, unit);
        QFETCH(bool, xToRight);
        QFETCH(bool, yDown);
        QFETCH(double, degrees);
        QFETCH(bool, mirror);
        QFETCH(double, shear);
        const PlateType &type = builtIn("ANSI/SLAS 96");
        const StageUnit units = unit == 0 ? StageUnit::Micrometre : StageUnit::Millimetre;
        AffineMap truth = turned(degrees, unitsPerMm(units), QPointF(52000, -31000) / (1000 / unitsPerMm(units)), mirror);
        truth.b += shear * truth.a;
        truth.d += shear * truth.c;
        const CalibrationFit fit = fitCalibration(type, taught(type, truth, wells, units, xToRight, yDown));
        QVERIFY2(fit.ok, qPrintable(fit.problem));
        QCOMPARE(fit.mirrored, mirror);
        for (int s = 1; s <= type.wells(); ++s) {
            const QPointF plate = wellCentre(type, placeOfSample(type, s));
            const QPointF miss = fit.toMicrometres(plate) - truth.map(plate) * (1000 / unitsPerMm(units));
            QVERIFY2(std::hypot(miss.x(), miss.y()) < 0.01, qPrintable(QString::number(s)));
        }
        if (shear == 0) {
            QVERIFY(std::abs(std::remainder(fit.rotationDegrees - degrees, 360)) < 1e-9);
            for (double r : fit.residuals)
                QVERIFY(r < 1e-6);
        } else {
            // A sheared stage is no turned plate: the taught wells show it.
            QVERIFY(*std::max_element(fit.residuals.begin(), fit.residuals.end()) > 0.1);
        }
    }

    void badCalibrationsRefused()
    {
        const PlateType &type = builtIn("ANSI/SLAS 96");
        auto with = [&](std::vector<std::pair<const char *, QPointF>> wells, StageUnit unit = StageUnit::Micrometre) {
            Calibration c{QStringLiteral("x"), type.name, unit, true, true, {}};
            for (const auto &[name, at] : wells)
                c.wells.push_back({parseStageWell(type, QString::fromLatin1(name)).value_or(GridWell{9, 1}), at});
            return fitCalibration(type, c).problem;
        };
        const QPointF a(1000, 2000);
        struct Case { QString problem; const char *says; };
        for (const Case &c : std::initializer_list<Case>{
                 {with({{"A1", a}}), "Teach two wells"},
                 {with({{"A1", a}, {"H12", a}}), "A1 and H12 are taught at one stage position"},
                 {with({{"A1", a}, {"A1", a + QPointF(9000, 0)}}), "A1 is taught twice"},
                 {with({{"A1", a}, {"A6", a + QPointF(45000, 0)}, {"A12", a + QPointF(99000, 0)}}), "A1, A6 and A12 lie on one line: teach a well off"},
                 {with({{"A1", a}, {"H12", a + QPointF(99000, 0)}, {"A12", a + QPointF(49500, 0)}}), "stage positions of A1, H12 and A12"},
                 {with({{"A1", QPointF(14.38, 11.24)}, {"H12", QPointF(113.38, 74.24)}}), "check the numbers and the units (\u00b5m)"},
                 {with({{"A1", a}, {"I1", a + QPointF(9000, 0)}}), "I1 is no well"},
                 {with({{"A1", a}, {"H12", QPointF(std::nan(""), 0)}}), "no usable number"}})
            QVERIFY2(c.problem.contains(c.says), qPrintable(c.problem));
    }

    void serpentinesOnEveryPlate()
    {
        for (const PlateType &type : builtInPlateTypes()) {
            const std::vector<RouteWell> wells = plateWells(type);
            const double pitch = type.pitchX;
            const double sample = routeLength(wells, visitRoute(wells, VisitOrder::SampleOrder));
            for (VisitOrder order : {VisitOrder::SerpentineRows, VisitOrder::SerpentineColumns, VisitOrder::Shortest}) {
                const std::vector<int> route = visitRoute(wells, order);
                QVERIFY(visitsEachOnce(wells, route));
                // A full plate of equal pitches: one pitch from each well to the next.
                QVERIFY2(std::abs(routeLength(wells, route) - (type.wells() - 1) * pitch) < 1e-6, qPrintable(type.name));
                QVERIFY(routeLength(wells, route) < sample);
            }
            const QStringList rows = labels(wells, visitRoute(wells, VisitOrder::SerpentineRows));
            const QString lastOfA = stageWellName({1, type.cols});
            QCOMPARE(rows.mid(type.cols - 1, 3), (QStringList{lastOfA, stageWellName({2, type.cols}), stageWellName({2, type.cols - 1})}));
            const QStringList cols = labels(wells, visitRoute(wells, VisitOrder::SerpentineColumns));
            QCOMPARE(cols.mid(type.rows - 1, 2), (QStringList{stageWellName({type.rows, 1}), stageWellName({type.rows, 2})}));
        }
        QCOMPARE(labels(plateWells(builtIn("24-well (typical values)")), visitRoute(plateWells(builtIn("24-well (typical values)")), VisitOrder::SerpentineRows)).join(' '),
                 "A1 A2 A3 A4 A5 A6 B6 B5 B4 B3 B2 B1 C1 C2 C3 C4 C5 C6 D6 D5 D4 D3 D2 D1");
    }

    // Sparse plates from fixed seeds: every order visits every well once,
    // neither serpentine by rows nor the shortest route is longer than
    // sample order, and the shortest route stays near the spanning tree
    // that no route can beat.
    void sparseRoutes()
    {
        double serpentineTotal = 0, shortestTotal = 0;
        for (const PlateType &type : builtInPlateTypes()) {
            for (quint32 seed = 1; seed <= 6; ++seed) {
                const std::vector<RouteWell> wells = plateWells(type, 0.1 + 0.1 * seed, seed);
                std::array<double, 4> length{};
                for (std::size_t k = 0; k < 4; ++k) {
                    const std::vector<int> route = visitRoute(wells, AllVisitOrders[k]);
                    QVERIFY(visitsEachOnce(wells, route));
                    length[k] = routeLength(wells, route);
                }
                const QByteArray where = (type.name + " seed " + QString::number(seed)).toUtf8();
                QVERIFY2(length[1] <= length[0] + 1e-9, where);
                QVERIFY2(length[3] <= std::min({length[0], length[1], length[2]}) + 1e-9, where);
                QVERIFY2(length[3] <= 1.25 * routeLowerBound(wells), where);
                serpentineTotal += length[1];
                shortestTotal += length[3];
            }
        }
        QVERIFY(shortestTotal < 0.95 * serpentineTotal);
        QVERIFY(visitRoute({}, VisitOrder::Shortest).empty());
    }

    void positionFiles()
    {
        State doc = exampleDocument(96);
        doc.sampleTable(13, 0) = "Std";       // B1
        doc.sampleTable(12, 0) = "Blank, \"old\"";   // A12
        PositionRequest request{builtIn("ANSI/SLAS 96"), std::nullopt, VisitOrder::SampleOrder, false};
        PositionList list = stagePositions(doc, request);
        QCOMPARE(QString::fromUtf8(positionsCsv(list, StageUnit::Micrometre)),
                 "Order,Well,Sample No.,Key,X (\u00b5m),Y (\u00b5m)\r\n"
                 "1,A2,2,Blank,23380,11240\r\n"
                 "2,A12,12,\"Blank, \"\"old\"\"\",113380,11240\r\n"
                 "3,B1,13,Std,14380,20240\r\n");
        QVERIFY(positionsCsv(list, StageUnit::Millimetre).contains("X (mm),Y (mm)\r\n1,A2,2,Blank,23.38,11.24\r\n"));
        QCOMPARE(list.travelMm, 90 + std::hypot(99, 9));

        // Another plate's type, and a plate with nothing to visit, say why.
        request.plate = builtIn("ANSI/SLAS 384");
        QVERIFY(stagePositions(doc, request).problem.contains("the document's plate has 96"));
        request.plate = builtIn("ANSI/SLAS 96");
        QVERIFY(stagePositions(newPlate(96), request).positions.empty());
        request.allWells = true;
        QCOMPARE(stagePositions(newPlate(96), request).positions.size(), 96u);
        const std::array<double, 4> travel = travelByOrder(newPlate(96), request);
        QCOMPARE(travel[1], 95 * 9.0);
        QVERIFY(travel[0] > travel[1]);
    }

    void settingsKeptAndChecked()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Corvant.ini");
        StageSettings kept;
        PlateType mine = builtIn("ANSI/SLAS 96");
        mine.name = "Glass bottom 96";
        mine.a1Left = 14.3;
        mine.wellDiameter = 6.35;
        mine.builtIn = false;
        QCOMPARE(kept.putType(mine), QString());
        QVERIFY(kept.putType(builtIn("ANSI/SLAS 96")).contains("already"));
        const Calibration holder = taught(mine, turned(0.5, 1000, {3000, 4000}), {"A1", "H12", "A12"}, StageUnit::Micrometre);
        QCOMPARE(kept.putCalibration(holder), QString());
        kept.chosen[96] = mine.name;
        {
            QSettings store(path, QSettings::IniFormat);
            saveStageSettings(store, kept);
        }
        {
            QSettings store(path, QSettings::IniFormat);
            const StageSettings read = loadStageSettings(store);
            QCOMPARE(read.problems, QStringList());
            QCOMPARE(read.userTypes.size(), 1u);
            QCOMPARE(read.userTypes[0], mine);
            QCOMPARE(read.chosenType(96)->name, mine.name);
            const Calibration *back = read.findCalibration(mine.name, "Holder");
            QVERIFY(back);
            for (std::size_t i = 0; i < 3; ++i)
                QVERIFY(std::hypot(back->wells[i].stage.x() - holder.wells[i].stage.x(), back->wells[i].stage.y() - holder.wells[i].stage.y()) < 1e-5);
        }

        // Hand-edited values: what fails the dialog's checks is never taken.
        QByteArray ini = fileBytes(path);
        ini.replace("1\\Pitch%20X=9", "1\\Pitch%20X=9,5");
        ini.replace("1\\Pitch X=9", "1\\Pitch X=9,5");
        writeBytes(path, ini);
        QSettings store(path, QSettings::IniFormat);
        const StageSettings read = loadStageSettings(store);
        QVERIFY(read.userTypes.empty());
        QVERIFY(read.calibrations.empty());
        QCOMPARE(read.chosenType(96)->name, "ANSI/SLAS 96");
        QCOMPARE(read.problems.size(), 3);
        QVERIFY2(read.problems[0].contains("Glass bottom 96") && read.problems[0].contains("pitch"), qPrintable(read.problems.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestStage)
#include "tst_stage.moc"

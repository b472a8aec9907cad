#include "core/stage/stagepositions.h"

#include "core/document/state.h"
#include "core/tables/delimited.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Tessar {

namespace {

// Nanometres on the stage: far below any stage's step, and a file that
// reads back to the same numbers on every machine.
constexpr int MicrometreDecimals = 3;

QString coordinate(double micrometres, StageUnit unit)
{
    return unit == StageUnit::Micrometre ? decimalText(micrometres, MicrometreDecimals)
                                         : decimalText(micrometres / 1000.0, MicrometreDecimals + 3);
}

// A JSON number that always reads as a floating-point one.
QString jsonDouble(double micrometres)
{
    QString text = decimalText(micrometres, MicrometreDecimals);
    if (!text.contains(u'.'))
        text += QStringLiteral(".0");
    return text;
}

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"': out += QStringLiteral("\\\""); break;
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

QString envelope(const char *type, const QString &kind, const QString &value)
{
    return QStringLiteral("{\"type\": \"%1\", \"%2\": %3}").arg(QLatin1String(type), kind, value);
}

} // namespace

std::vector<StagePosition> wellsToVisit(const State &state, const PositionRequest &request)
{
    std::vector<StagePosition> wells;
    if (!plateTypeMismatch(request.plate, state).isEmpty())
        return wells;
    const int last = std::min(state.wellCount, state.sampleTable.lastSample());
    for (int s = 1; s <= last; ++s) {
        if (!request.allWells && !SampleHasData(state, s))
            continue;
        StagePosition p;
        p.sample = s;
        p.well = placeOfSample(request.plate, s);
        p.label = stageWellName(p.well);
        p.key = state.sampleTable(s, 0);
        p.plateMm = wellCentre(request.plate, p.well);
        p.micrometres = request.calibration ? request.calibration->toMicrometres(p.plateMm) : p.plateMm * 1000.0;
        wells.push_back(p);
    }
    return wells;
}

std::vector<RouteWell> routeWells(const std::vector<StagePosition> &wells)
{
    std::vector<RouteWell> route;
    route.reserve(wells.size());
    for (const StagePosition &p : wells)
        route.push_back({p.sample, p.well, p.micrometres / 1000.0});
    return route;
}

PositionList stagePositions(const State &state, const PositionRequest &request)
{
    PositionList list;
    list.calibrated = request.calibration.has_value();
    list.problem = plateTypeMismatch(request.plate, state);
    if (request.calibration && !request.calibration->ok)
        list.problem = request.calibration->problem;
    if (!list.problem.isEmpty())
        return list;
    const std::vector<StagePosition> wells = wellsToVisit(state, request);
    const std::vector<RouteWell> route = routeWells(wells);
    const std::vector<int> order = visitRoute(route, request.order);
    list.travelMm = routeLength(route, order);
    for (int i : order)
        list.positions.push_back(wells[std::size_t(i)]);
    return list;
}

std::array<double, 4> travelByOrder(const State &state, const PositionRequest &request)
{
    std::array<double, 4> travel{};
    const std::vector<RouteWell> route = routeWells(wellsToVisit(state, request));
    for (std::size_t k = 0; k < travel.size(); ++k)
        travel[k] = routeLength(route, visitRoute(route, AllVisitOrders[k]));
    return travel;
}

QByteArray positionListFile(const PositionList &list, const QString &xyDevice)
{
    const QString device = envelope("STRING", QStringLiteral("scalar"), jsonString(xyDevice));
    QString out;
    out.reserve(qsizetype(list.positions.size()) * 700 + 300);
    out += QStringLiteral("{\n"
                          "  \"encoding\": \"UTF-8\",\n"
                          "  \"format\": \"Micro-Manager Property Map\",\n"
                          "  \"major_version\": 2,\n"
                          "  \"minor_version\": 0,\n"
                          "  \"map\": {\n"
                          "    \"StagePositions\": {\n"
                          "      \"type\": \"PROPERTY_MAP\",\n"
                          "      \"array\": [");
    bool first = true;
    for (const StagePosition &p : list.positions) {
        out += first ? QStringLiteral("\n") : QStringLiteral(",\n");
        first = false;
        const QString xy = QStringLiteral("[%1, %2]").arg(jsonDouble(p.micrometres.x()), jsonDouble(p.micrometres.y()));
        out += QStringLiteral("        {\n"
                              "          \"DefaultXYStage\": %1,\n"
                              "          \"DefaultZStage\": %2,\n"
                              "          \"DevicePositions\": {\n"
                              "            \"type\": \"PROPERTY_MAP\",\n"
                              "            \"array\": [\n"
                              "              {\n"
                              "                \"Device\": %1,\n"
                              "                \"Position_um\": %3\n"
                              "              }\n"
                              "            ]\n"
                              "          },\n"
                              "          \"GridCol\": %4,\n"
                              "          \"GridRow\": %5,\n"
                              "          \"Label\": %6,\n"
                              "          \"Properties\": {\"type\": \"PROPERTY_MAP\", \"scalar\": {}}\n"
                              "        }")
                   .arg(device, envelope("STRING", QStringLiteral("scalar"), QStringLiteral("\"\"")),
                        envelope("DOUBLE", QStringLiteral("array"), xy),
                        envelope("INTEGER", QStringLiteral("scalar"), QString::number(p.well.col - 1)),
                        envelope("INTEGER", QStringLiteral("scalar"), QString::number(p.well.row - 1)),
                        envelope("STRING", QStringLiteral("scalar"), jsonString(p.label)));
    }
    out += QStringLiteral("\n      ]\n    }\n  }\n}\n");
    return out.toUtf8();
}

QByteArray positionsCsv(const PositionList &list, StageUnit unit)
{
    const QString symbol = unitSymbol(unit);
    QString out = QStringLiteral("Order,Well,Sample No.,Key,X (%1),Y (%1)\r\n").arg(symbol);
    int order = 0;
    for (const StagePosition &p : list.positions) {
        out += QString::number(++order) + u',' + p.label + u',' + QString::number(p.sample) + u',';
        appendCell(out, p.key, u',');
        out += u',' + coordinate(p.micrometres.x(), unit) + u',' + coordinate(p.micrometres.y(), unit) + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

QByteArray positionsJson(const PositionList &list, StageUnit unit, const QString &plateName, VisitOrder order)
{
    QJsonArray positions;
    int n = 0;
    for (const StagePosition &p : list.positions) {
        positions.append(QJsonObject{
            {QStringLiteral("order"), ++n},
            {QStringLiteral("well"), p.label},
            {QStringLiteral("s"), p.sample},
            {QStringLiteral("key"), p.key},
            {QStringLiteral("x"), coordinate(p.micrometres.x(), unit).toDouble()},
            {QStringLiteral("y"), coordinate(p.micrometres.y(), unit).toDouble()},
        });
    }
    const QJsonObject root{
        {QStringLiteral("plate"), plateName},
        {QStringLiteral("frame"), list.calibrated ? QStringLiteral("stage") : QStringLiteral("plate")},
        {QStringLiteral("units"), unitKey(unit)},
        {QStringLiteral("order"), visitOrderKey(order)},
        {QStringLiteral("travel_mm"), decimalText(list.travelMm, 3).toDouble()},
        {QStringLiteral("positions"), positions},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace Tessar

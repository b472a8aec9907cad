#pragma once

#include "core/stage/calibration.h"
#include "core/stage/platetype.h"
#include "core/stage/route.h"

#include <QByteArray>
#include <QPointF>
#include <QString>

#include <array>
#include <vector>

namespace Tessar {

struct State;

// One stop of the stage: the well, what the sample list says of it, and
// where the stage finds it.
struct StagePosition
{
    int sample = 0;
    GridWell well;
    QString label;          // "B7"
    QString key;            // the sample's key row
    QPointF plateMm;        // from the plate's left and top edges
    QPointF micrometres;    // on the stage, or the plate's millimetres in µm without calibration
};

// What the positions are made of.
struct PositionRequest
{
    PlateType plate;
    std::optional<CalibrationFit> calibration;   // none: plate millimetres
    VisitOrder order = VisitOrder::SampleOrder;
    bool allWells = false;                       // else only wells that hold data
};

struct PositionList
{
    QString problem;                        // why there are none; empty when fine
    std::vector<StagePosition> positions;   // in visit order; none when no well holds data
    double travelMm = 0;
    bool calibrated = false;
};

// The wells to visit as the route needs them, in sample order, each where
// the stage finds it in millimetres.
std::vector<StagePosition> wellsToVisit(const State &state, const PositionRequest &request);
std::vector<RouteWell> routeWells(const std::vector<StagePosition> &wells);

PositionList stagePositions(const State &state, const PositionRequest &request);

// The travel of every order, in millimetres, for the wells the request visits.
std::array<double, 4> travelByOrder(const State &state, const PositionRequest &request);

inline const QString DefaultXYDevice = QStringLiteral("XYStage");

// The position list a stage program loads: a property map, major version
// 2, every value in its typed envelope, the positions in µm in visit order,
// each labelled with its well and placed by the named XY device.
QByteArray positionListFile(const PositionList &list, const QString &xyDevice);

// CSV as the other exports write it: Order, Well, Sample No., Key, X and Y
// with the unit in their headers.
QByteArray positionsCsv(const PositionList &list, StageUnit unit);

// The positions as plain JSON, for scripts of one's own.
QByteArray positionsJson(const PositionList &list, StageUnit unit, const QString &plateName, VisitOrder order);

} // namespace Tessar

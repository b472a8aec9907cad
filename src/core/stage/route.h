#pragma once

#include "core/stage/platetype.h"

#include <QPointF>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Tessar {

enum class VisitOrder { SampleOrder, SerpentineRows, SerpentineColumns, Shortest };

inline constexpr VisitOrder AllVisitOrders[] = {VisitOrder::SampleOrder, VisitOrder::SerpentineRows,
                                                VisitOrder::SerpentineColumns, VisitOrder::Shortest};

// "Sample order", "Serpentine by rows", ...: as the dialog lists them.
QString visitOrderName(VisitOrder order);
// "sample", "rows", "columns", "shortest": as the command line takes them.
QString visitOrderKey(VisitOrder order);
std::optional<VisitOrder> visitOrderFromKey(QStringView key);

// A well to visit: its sample number, place on the plate, and where the
// stage finds it, in millimetres.
struct RouteWell
{
    int sample = 0;
    GridWell well;
    QPointF at;
};

// The wells in the order they are visited, as indices into `wells`.
//
// Sample order goes by sample number. The serpentines go line by line,
// rows A first or columns 1 first, and turn every other line round; where
// lines are sparse each line is turned the way that makes the whole route
// shortest, so a serpentine by rows is never longer than sample order.
// The shortest route starts from the best of a nearest-neighbour route and
// the two serpentines and improves it by 2-opt, with a fixed bound on the
// work, so its length is never more than any of them.
std::vector<int> visitRoute(const std::vector<RouteWell> &wells, VisitOrder order);

// The travel from the first well of the route to the last, in millimetres.
double routeLength(const std::vector<RouteWell> &wells, const std::vector<int> &route);

// No route through the wells is shorter: the weight of their minimum
// spanning tree.
double routeLowerBound(const std::vector<RouteWell> &wells);

} // namespace Tessar

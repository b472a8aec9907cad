#include "core/stage/route.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

namespace Tessar {

namespace {

double squared(QPointF p, QPointF q)
{
    const double dx = p.x() - q.x(), dy = p.y() - q.y();
    return dx * dx + dy * dy;
}

double distance(QPointF p, QPointF q)
{
    return std::sqrt(squared(p, q));
}

// The wells sorted by x, so a search for the nearest ones looks outward
// from a well's own place and stops where x alone is too far.
class ByX
{
public:
    explicit ByX(const std::vector<RouteWell> &wells) : mWells(wells), mOrder(wells.size()), mPlace(wells.size())
    {
        std::iota(mOrder.begin(), mOrder.end(), 0);
        std::sort(mOrder.begin(), mOrder.end(), [&](int i, int j) { return x(i) < x(j); });
        for (std::size_t k = 0; k < mOrder.size(); ++k)
            mPlace[std::size_t(mOrder[k])] = int(k);
    }

    // Calls visit(j, squared distance) for wells ever nearer to `i`, outward
    // in x, until x alone is farther than *reach (a squared distance) that
    // visit may lower.
    template<typename Visit>
    void outward(int i, double *reach, Visit visit) const
    {
        const int n = int(mOrder.size());
        const int at = mPlace[std::size_t(i)];
        const QPointF p = mWells[std::size_t(i)].at;
        for (int lo = at - 1, hi = at + 1; lo >= 0 || hi < n;) {
            for (int *side : {&lo, &hi}) {
                if (*side < 0 || *side >= n)
                    continue;
                const int j = mOrder[std::size_t(*side)];
                const double dx = x(j) - p.x();
                if (dx * dx > *reach) {
                    *side = side == &lo ? -1 : n;
                    continue;
                }
                visit(j, squared(p, mWells[std::size_t(j)].at));
                *side += side == &lo ? -1 : 1;
            }
        }
    }

private:
    double x(int i) const { return mWells[std::size_t(i)].at.x(); }
    const std::vector<RouteWell> &mWells;
    std::vector<int> mOrder;
    std::vector<int> mPlace;
};

std::vector<int> bySample(const std::vector<RouteWell> &wells)
{
    std::vector<int> route(wells.size());
    std::iota(route.begin(), route.end(), 0);
    std::stable_sort(route.begin(), route.end(), [&](int i, int j) { return wells[i].sample < wells[j].sample; });
    return route;
}

// Lines of wells (rows or columns), each in its own forward order; every
// line is then run forward or backward, whichever makes the route shortest.
// Ties go to plain alternation, the scan a stage usually makes.
std::vector<int> serpentine(const std::vector<RouteWell> &wells, bool byRows)
{
    std::vector<int> order(wells.size());
    std::iota(order.begin(), order.end(), 0);
    auto line = [&](int i) { return byRows ? wells[i].well.row : wells[i].well.col; };
    auto along = [&](int i) { return byRows ? wells[i].well.col : wells[i].well.row; };
    std::stable_sort(order.begin(), order.end(), [&](int i, int j) {
        return line(i) != line(j) ? line(i) < line(j) : along(i) < along(j);
    });
    std::vector<std::pair<std::size_t, std::size_t>> lines;   // [begin, end) in order
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || line(order[i]) != line(order[i - 1]))
            lines.emplace_back(i, i + 1);
        else
            lines.back().second = i + 1;
    }
    if (lines.empty())
        return order;

    struct Cost
    {
        double length = 0;
        int offPattern = 0;
        bool operator<(const Cost &other) const
        {
            const double slack = 1e-9 * (1 + std::max(length, other.length));
            if (std::abs(length - other.length) > slack)
                return length < other.length;
            return offPattern < other.offPattern;
        }
    };
    const std::size_t m = lines.size();
    // best[k][o]: line k run backward when o is 1; from[k][o]: the direction of line k - 1.
    std::vector<std::array<Cost, 2>> best(m);
    std::vector<std::array<int, 2>> from(m, {0, 0});
    auto first = [&](std::size_t k, int o) { return wells[order[o ? lines[k].second - 1 : lines[k].first]].at; };
    auto last = [&](std::size_t k, int o) { return wells[order[o ? lines[k].first : lines[k].second - 1]].at; };
    for (int o = 0; o < 2; ++o)
        best[0][std::size_t(o)] = {0, o};
    for (std::size_t k = 1; k < m; ++k) {
        for (int o = 0; o < 2; ++o) {
            const int off = o != int(k % 2) ? 1 : 0;
            Cost pick;
            for (int p = 0; p < 2; ++p) {
                const Cost c{best[k - 1][std::size_t(p)].length + distance(last(k - 1, p), first(k, o)),
                             best[k - 1][std::size_t(p)].offPattern + off};
                if (p == 0 || c < pick) {
                    pick = c;
                    from[k][std::size_t(o)] = p;
                }
            }
            best[k][std::size_t(o)] = pick;
        }
    }
    int o = best[m - 1][1] < best[m - 1][0] ? 1 : 0;
    std::vector<int> backward(m);
    for (std::size_t k = m; k-- > 0;) {
        backward[k] = o;
        o = from[k][std::size_t(o)];
    }
    for (std::size_t k = 0; k < m; ++k) {
        if (backward[k])
            std::reverse(order.begin() + std::ptrdiff_t(lines[k].first), order.begin() + std::ptrdiff_t(lines[k].second));
    }
    return order;
}

std::vector<int> nearestNeighbour(const std::vector<RouteWell> &wells, const ByX &byX, int start)
{
    const std::size_t n = wells.size();
    std::vector<int> route{start};
    std::vector<char> seen(n, 0);
    seen[std::size_t(start)] = 1;
    for (std::size_t step = 1; step < n; ++step) {
        int next = -1;
        double nearest = std::numeric_limits<double>::infinity();
        byX.outward(route.back(), &nearest, [&](int j, double d) {
            if (!seen[std::size_t(j)] && (d < nearest || (d == nearest && j < next))) {
                nearest = d;
                next = j;
            }
        });
        seen[std::size_t(next)] = 1;
        route.push_back(next);
    }
    return route;
}

// 2-opt on a closed tour through the wells and one free node that is at
// no distance from any of them: its two neighbours are the ends of the
// route, so the open route may start and end anywhere. Moves are sought
// only towards each node's nearest wells, and the whole search stops after
// a fixed number of tries, so a large plate costs milliseconds.
class TwoOpt
{
public:
    TwoOpt(const std::vector<RouteWell> &wells, const ByX &byX, const std::vector<int> &route)
        : mWells(wells), mN(int(wells.size()) + 1)
    {
        mTour.reserve(std::size_t(mN));
        mTour.push_back(free());
        mTour.insert(mTour.end(), route.begin(), route.end());
        mPlace.resize(std::size_t(mN));
        for (int i = 0; i < mN; ++i)
            mPlace[std::size_t(mTour[std::size_t(i)])] = i;
        findNeighbours(byX);
    }

    std::vector<int> run()
    {
        // Tries and the wells turned round by the moves made both count.
        long tries = 0;
        const long budget = 2000L * mN + 200000L;
        bool improved = true;
        while (improved && tries < budget) {
            improved = false;
            for (int a = 0; a < mN - 1 && tries < budget; ++a) {
                for (int side = 0; side < 2; ++side) {
                    for (int c : mNeighbours[std::size_t(a)]) {
                        ++tries;
                        if (tryMove(a, c, side == 0, &tries)) {
                            improved = true;
                            break;
                        }
                    }
                }
            }
        }
        std::vector<int> route;
        const int start = mPlace[std::size_t(free())];
        for (int i = 1; i < mN; ++i)
            route.push_back(mTour[std::size_t((start + i) % mN)]);
        return route;
    }

private:
    int free() const { return mN - 1; }
    double d(int p, int q) const
    {
        if (p == free() || q == free())
            return 0;
        return distance(mWells[std::size_t(p)].at, mWells[std::size_t(q)].at);
    }
    int at(int i) const { return mTour[std::size_t((i % mN + mN) % mN)]; }

    void findNeighbours(const ByX &byX)
    {
        constexpr std::size_t K = 8;
        const int wells = mN - 1;
        mNeighbours.resize(std::size_t(wells));
        std::vector<std::pair<double, int>> near;   // a heap, the farthest on top
        for (int a = 0; a < wells; ++a) {
            near.clear();
            double reach = std::numeric_limits<double>::infinity();
            byX.outward(a, &reach, [&](int b, double d) {
                if (near.size() < K) {
                    near.emplace_back(d, b);
                    std::push_heap(near.begin(), near.end());
                } else if (std::pair(d, b) < near.front()) {
                    std::pop_heap(near.begin(), near.end());
                    near.back() = {d, b};
                    std::push_heap(near.begin(), near.end());
                }
                if (near.size() == K)
                    reach = near.front().first;
            });
            std::sort_heap(near.begin(), near.end());
            std::vector<int> &list = mNeighbours[std::size_t(a)];
            list.push_back(free());
            for (const auto &[dd, b] : near)
                list.push_back(b);
        }
    }

    // Makes a and c neighbours when that shortens the tour: with `ahead`,
    // a's successor b and c's successor e become neighbours as well;
    // otherwise the predecessors do.
    bool tryMove(int a, int c, bool ahead, long *work)
    {
        const int i = mPlace[std::size_t(a)];
        const int j = mPlace[std::size_t(c)];
        const int step = ahead ? 1 : -1;
        const int b = at(i + step);
        const int e = at(j + step);
        if (b == c || e == a)
            return false;
        const double gain = d(a, b) + d(c, e) - d(a, c) - d(b, e);
        if (gain <= 1e-9)
            return false;
        // Ahead: reverse b..c. Behind: reverse c..b, that is e's successor to a's predecessor.
        *work += ahead ? reverse(i + 1, j) : reverse(j, i - 1);
        return true;
    }

    // Reverses the tour from place `from` to place `to`, going forward and
    // wrapping round; the shorter side is turned, which is the same tour.
    // Returns how many places it turned.
    int reverse(int from, int to)
    {
        from = (from % mN + mN) % mN;
        to = (to % mN + mN) % mN;
        int len = (to - from + mN) % mN + 1;
        if (2 * len > mN) {
            const int nfrom = (to + 1) % mN;
            to = (from - 1 + mN) % mN;
            from = nfrom;
            len = mN - len;
        }
        for (int k = 0; k < len / 2; ++k) {
            const int p = (from + k) % mN;
            const int q = (to - k + mN) % mN;
            std::swap(mTour[std::size_t(p)], mTour[std::size_t(q)]);
            mPlace[std::size_t(mTour[std::size_t(p)])] = p;
            mPlace[std::size_t(mTour[std::size_t(q)])] = q;
        }
        return len;
    }

    const std::vector<RouteWell> &mWells;
    const int mN;
    std::vector<int> mTour;
    std::vector<int> mPlace;
    std::vector<std::vector<int>> mNeighbours;
};

std::vector<int> shortest(const std::vector<RouteWell> &wells)
{
    const std::vector<int> sample = bySample(wells);
    if (wells.size() < 3)
        return sample;
    const ByX byX(wells);
    std::vector<int> start = serpentine(wells, true);
    for (const std::vector<int> &other : {serpentine(wells, false), nearestNeighbour(wells, byX, sample.front())}) {
        if (routeLength(wells, other) < routeLength(wells, start))
            start = other;
    }
    std::vector<int> route = TwoOpt(wells, byX, start).run();
    if (!(routeLength(wells, route) <= routeLength(wells, start)))
        route = start;
    // Start from the end the samples come to first.
    auto rank = [&](int i) { return wells[std::size_t(i)].sample; };
    if (rank(route.back()) < rank(route.front()))
        std::reverse(route.begin(), route.end());
    return route;
}

} // namespace

QString visitOrderName(VisitOrder order)
{
    switch (order) {
    case VisitOrder::SampleOrder: return QStringLiteral("Sample order");
    case VisitOrder::SerpentineRows: return QStringLiteral("Serpentine by rows");
    case VisitOrder::SerpentineColumns: return QStringLiteral("Serpentine by columns");
    case VisitOrder::Shortest: return QStringLiteral("Shortest route");
    }
    return QString();
}

QString visitOrderKey(VisitOrder order)
{
    switch (order) {
    case VisitOrder::SampleOrder: return QStringLiteral("sample");
    case VisitOrder::SerpentineRows: return QStringLiteral("rows");
    case VisitOrder::SerpentineColumns: return QStringLiteral("columns");
    case VisitOrder::Shortest: return QStringLiteral("shortest");
    }
    return QString();
}

std::optional<VisitOrder> visitOrderFromKey(QStringView key)
{
    for (VisitOrder order : AllVisitOrders) {
        if (key == visitOrderKey(order))
            return order;
    }
    return std::nullopt;
}

std::vector<int> visitRoute(const std::vector<RouteWell> &wells, VisitOrder order)
{
    switch (order) {
    case VisitOrder::SampleOrder: return bySample(wells);
    case VisitOrder::SerpentineRows: return serpentine(wells, true);
    case VisitOrder::SerpentineColumns: return serpentine(wells, false);
    case VisitOrder::Shortest: return shortest(wells);
    }
    return bySample(wells);
}

double routeLength(const std::vector<RouteWell> &wells, const std::vector<int> &route)
{
    double total = 0;
    for (std::size_t i = 1; i < route.size(); ++i)
        total += distance(wells[std::size_t(route[i - 1])].at, wells[std::size_t(route[i])].at);
    return total;
}

double routeLowerBound(const std::vector<RouteWell> &wells)
{
    const std::size_t n = wells.size();
    std::vector<double> reach(n, std::numeric_limits<double>::infinity());
    std::vector<char> inTree(n, 0);
    double total = 0;
    for (std::size_t step = 0; step < n; ++step) {
        std::size_t next = n;
        for (std::size_t j = 0; j < n; ++j) {
            if (!inTree[j] && (next == n || reach[j] < reach[next]))
                next = j;
        }
        inTree[next] = 1;
        if (step > 0)
            total += reach[next];
        for (std::size_t j = 0; j < n; ++j) {
            if (!inTree[j])
                reach[j] = std::min(reach[j], distance(wells[next].at, wells[j].at));
        }
    }
    return total;
}

} // namespace Tessar

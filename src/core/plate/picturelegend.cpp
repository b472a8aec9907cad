#include "core/plate/picturelegend.h"

#include "core/document/state.h"
#include "core/plate/wellsummary.h"

#include <array>

namespace Tessar {

namespace {

constexpr int LabelLength = 60;   // the picture shortens further to fit

QString samples(int count)
{
    return count == 1 ? QStringLiteral("1 sample") : QStringLiteral("%1 samples").arg(count);
}

} // namespace

std::vector<LegendEntry> pictureLegend(const State &state)
{
    std::array<int, KeyCount + 1> keyed{};   // index 0: data without a key
    int empty = 0;
    for (int s = 1; s <= state.wellCount; ++s) {
        const WellDisc disc = wellDisc(state, s);
        if (disc.shown)
            ++keyed[std::size_t(disc.key)];
        else
            ++empty;
    }

    std::vector<LegendEntry> legend;
    for (int k = 1; k <= KeyCount; ++k) {
        const QString &name = state.keyName[std::size_t(k)];
        const int count = keyed[std::size_t(k)];
        // A key without a name marks no well, but its colour and number
        // are still the key's, so the legend reads the same on every plate.
        const QString label = name.isEmpty() ? QStringLiteral("Key %1").arg(k)
                                             : QStringLiteral("Key %1: %2").arg(k).arg(shortened(name, LabelLength));
        legend.push_back({keyedDisc(state, k), label, samples(count), count});
    }
    if (keyed[0] > 0)
        legend.push_back({keyedDisc(state, 0), QStringLiteral("No key"), samples(keyed[0]), keyed[0]});
    if (empty > 0)
        legend.push_back({WellDisc(), QStringLiteral("Empty"),
                          empty == 1 ? QStringLiteral("1 well") : QStringLiteral("%1 wells").arg(empty), empty});
    return legend;
}

} // namespace Tessar

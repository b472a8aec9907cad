#pragma once

#include "core/plate/welldisc.h"

#include <QString>

#include <vector>

namespace Tessar {

struct State;

// One line of a plate picture's legend: a well as the map draws it, what
// it stands for and how many wells look like it.
struct LegendEntry
{
    WellDisc disc;     // not shown: the empty well's bare ring
    QString label;     // "Key 2: Std", "No key", "Empty"
    QString amount;    // "12 samples", "1 sample", "370 wells"
    int count = 0;

    friend bool operator==(const LegendEntry &, const LegendEntry &) = default;
};

// The six keys in order, each counted by the discs that take its colour (a
// key without a name, or whose name another key shares, may count none);
// then the samples with data but no key, and the empty wells, each only
// when there are any.
std::vector<LegendEntry> pictureLegend(const State &state);

} // namespace Tessar

#pragma once

#include "core/plate/wellselection.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Tessar {

struct State;

// The commands that act on every well selected on the map at once.

// Insert > a key: every well takes key k's name (a key without a name
// takes the key away). False when nothing could change.
bool insertKeyInto(State &state, const WellSet &wells, int key);

// Edit > Delete All: each well's key, fields and the slot after them.
bool deleteAllIn(State &state, const WellSet &wells);

// The order Fill Selection writes its values in.
enum class FillOrder {
    AcrossRows,      // A1, A2, ... then B1: along each plate row
    DownColumns,     // A1, B1, ... then A2: down each plate column
    SampleNumbers,   // as the sample numbers run
};
WellSet fillOrder(const State &state, const WellSet &wells, FillOrder order);

enum class FillSeries {
    Same,      // every well the same text
    CountUp,   // the number ending the text goes up by `step`
    Dilute,    // the text is a number, each value the one before times `factor`
};

struct FillRule
{
    QString text;
    FillSeries series = FillSeries::Same;
    long long step = 1;
    double factor = 0.5;
    int replicates = 1;   // each value used this many times, 1 to 12
};

// The values for `count` wells in fill order, or the reason there are none
// ("..." for the user to read).
struct FillValues
{
    QStringList values;
    QString problem;
};
FillValues fillValues(const FillRule &rule, int count);

// A dilution factor as typed: "1/2", "1/10", "0.25". Empty for anything
// that is not a positive finite number.
std::optional<double> parseFactor(const QString &text);

// Writes the values into row `row` of the wells in order. The key row
// takes key names only; any other value there is refused with a reason.
QString checkFill(const State &state, int row, const QStringList &values);
bool applyFill(State &state, int row, const WellSet &ordered, const QStringList &values);

} // namespace Tessar

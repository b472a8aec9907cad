#pragma once

#include <QString>
#include <QStringList>

namespace Tessar {

struct State;

// The key whose colour sample s's disc takes, 1 to 6, or 0 for none: every
// field from the key row to one row past those in use is looked at, and
// the last one naming a key wins.
int discKey(const State &state, int s);

// What hovering a well tells about it, as plain text.
struct WellTip
{
    QString title;        // the well's name, "B 1"
    QStringList lines;    // "Empty", or its key and first description fields
};

// The well's name; then "Empty", or the key it shows ("Key 2: Std", or
// "No key") and its first description fields that hold text as "Caption:
// value", long values shortened, with a count of any left out.
WellTip wellTip(const State &state, int s);

// `text` cut to at most `maxLength` characters, ending in an ellipsis when
// it had to be cut. Line breaks and other control characters become blanks.
QString shortened(const QString &text, int maxLength);

} // namespace Tessar

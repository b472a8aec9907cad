#pragma once

#include <QString>
#include <QStringView>

namespace Tessar {

struct State;

// "A1", "H12", "`48": the row letter and the column number of sample s, as
// tables and the JSON dump write it (no blank, no zero padding).
QString wellLabel(const State &state, int s);

// The name other plate tools and spreadsheets use: the same as wellLabel()
// but for rows 27 to 32 of the largest plate, which are AA to AF.
QString standardWellName(const State &state, int s);

// Row 1 to 32 as other plate tools name it: "A" to "Z", then "AA" to "AF"
// (callers keep `row` within the largest plate).
QString standardRowName(int row);

// The sample a well name written in a table stands for: "B3", "b03" and
// "B 3" are all row B, column 3. Rows 27 to 32 of the largest plate use the
// characters after Z ('[' to '`'), which have no lower case; "AA" to "AF"
// (any case) name them too.
//
// Returns the sample number, 0 when the text is a well name that is not on
// the current plate, and -1 when it is no well name at all.
int sampleOfWell(const State &state, QStringView text);

} // namespace Tessar

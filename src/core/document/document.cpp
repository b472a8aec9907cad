#include "core/document/document.h"

#include "core/plate/plategeometry.h"
#include "core/document/settings.h"
#include "core/document/state.h"

#include <algorithm>

namespace Tessar {

void newDocument(State &state)
{
    if (!isPlateFormat(state.wellCount))
        state.wellCount = DefaultWellCount;
    InitColors(state);
    state.filePath.clear();
    spotcoords(state, state.wellCount);
    state.fieldName[0] = QStringLiteral("Key");
    state.topSample = 1;
    state.curGrid = std::clamp(state.curGrid, 0, MaxFrames - 1);
    state.curRow = std::clamp(state.curRow, 0, std::max(0, state.fieldCount() - 1));
    state.moveSample = 0;
}

void clearSamples(State &state)
{
    // One slot past the rows in use goes too, as it always has.
    const int nf = state.fieldCount();
    for (int s = 1; s <= state.wellCount; ++s) {
        for (int f = 0; f <= nf; ++f) {
            if (state.sampleTable.contains(s, f))
                state.sampleTable(s, f).clear();
        }
    }
}

void applyFirstRunDefaults(State &state)
{
    state.numField = float(DefaultNumField);
    state.company = QStringLiteral("HALV");
    for (int f = 0; f < DefaultNumField; ++f)
        state.fieldName[std::size_t(f)] = QStringLiteral("description") + QString::number(f + 1);
    for (int k = 1; k <= KeyCount; ++k)
        state.keyName[std::size_t(k)].clear();
    state.colorsOn = QStringLiteral("yes");
    state.wellCount = DefaultWellCount;
}

} // namespace Tessar

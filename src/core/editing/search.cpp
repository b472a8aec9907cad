#include "core/editing/search.h"

#include "core/editing/editing.h"
#include "core/document/state.h"

#include <algorithm>

namespace Tessar {

SearchStart findStart(const State &state)
{
    return {state.topSample, state.curGrid};
}

SearchStart findNextStart(const State &state)
{
    SearchStart start = findStart(state);
    // Stops one past the plate: from there a pass finds nothing, and since
    // nothing is stored until a find the scroll position never leaves 1 to wellCount.
    if (start.topSample < state.wellCount + 1)
        ++start.topSample;
    return start;
}

SearchHit SearchSamples(const State &state, const QString &text, SearchStart from)
{
    const long long begin = static_cast<long long>(from.topSample) + from.curGrid;
    const int last = std::min(state.wellCount, state.sampleTable.lastSample());
    const int rows = usedRows(state);
    if (begin > last)
        return {};

    // Slot 0 is searched like any other sample when a start lands there.
    const int first = int(std::max<long long>(begin, 0));
    for (int s = first; s <= last; ++s) {
        for (int f = s == first ? 1 : 0; f < rows; ++f) {
            if (state.sampleTable(s, f) == text)
                return {true, s, f};
        }
    }
    return {};
}

void showFind(State &state, SearchStart from, const SearchHit &hit)
{
    if (!hit.found)
        return;
    state.topSample = hit.sample;
    state.curGrid = from.curGrid;
    state.curRow = hit.field;
}

QString notFoundQuestion()
{
    return QStringLiteral("Search String was not found.\r\nDo you wish to search from the beginning? ");
}

QString notFoundTitle()
{
    return QStringLiteral("Search");
}

SearchHit runSearch(State &state, const QString &text, SearchStart from,
                    const std::function<bool()> &askRestart)
{
    if (text.isEmpty())
        return {};
    SearchHit hit = SearchSamples(state, text, from);
    while (!hit.found && askRestart && askRestart()) {
        from = RestartFromFirst;
        hit = SearchSamples(state, text, from);
    }
    showFind(state, from, hit);
    return hit;
}

} // namespace Tessar

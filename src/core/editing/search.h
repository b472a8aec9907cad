#pragma once

#include <QString>

#include <functional>

namespace Tessar {

struct State;

// Where a search begins. The first sample searched is topSample + curGrid,
// from its first description field; later samples from their key row.
struct SearchStart
{
    int topSample = 1;
    int curGrid = 0;
};

// Search > Find starts at the current sample.
SearchStart findStart(const State &state);

// Search > Find Next starts one sample further on, so a second match in the
// sample just found is passed over.
SearchStart findNextStart(const State &state);

// Answering Yes to the not-found question starts again at sample 1.
inline constexpr SearchStart RestartFromFirst{1, 0};

// A field found by a search.
struct SearchHit
{
    bool found = false;
    int sample = 0;
    int field = 0;
};

// One pass from `from` to the plate's last sample. A field matches when it
// equals the text exactly, case included. Reads the state only.
SearchHit SearchSamples(const State &state, const QString &text, SearchStart from);

// Shows a find: the found sample goes into the first frame and the found
// field becomes the current row. curGrid is the one the search started
// with. The window then refills the frames and puts the found field's
// row current in the first grid.
void showFind(State &state, SearchStart from, const SearchHit &hit);

// The question asked when a pass ends without a find, and its title.
QString notFoundQuestion();
QString notFoundTitle();

// A whole search as Find and Find Next run it: a pass from `from`, then,
// for as long as `askRestart` answers yes, another pass from sample 1. The
// state changes only on a find, so a search given up leaves the frames
// showing exactly the samples that typing and the Edit commands act on.
// An empty text searches nothing.
SearchHit runSearch(State &state, const QString &text, SearchStart from,
                    const std::function<bool()> &askRestart);

} // namespace Tessar

#include "core/editing/editing.h"

#include "core/document/state.h"

#include <algorithm>
#include <climits>

namespace Tessar {

namespace {

const QString Tab = QStringLiteral("\t");
const QString CrLf = QStringLiteral("\r\n");

// topSample + frame without overflow, whatever the two hold.
int sampleAt(int top, int frame)
{
    const long long s = static_cast<long long>(top) + frame;
    return int(std::clamp<long long>(s, INT_MIN, INT_MAX));
}

// The cell under row `row` of the grid in frame `frame`, or nullptr.
QString *gridCell(State &state, int frame, int row)
{
    if (frame < 0 || frame >= MaxFrames)
        return nullptr;
    const int s = sampleAt(state.topSample, frame);
    return state.sampleTable.contains(s, row) ? &state.sampleTable(s, row) : nullptr;
}

QString *cell(State &state, int s, int f)
{
    return state.sampleTable.contains(s, f) ? &state.sampleTable(s, f) : nullptr;
}

// The last sample a fill may reach: the plate's last, or the table's if a
// damaged state ever left the table smaller.
int lastFillTarget(const State &state)
{
    return std::min(state.wellCount, state.sampleTable.lastSample());
}

// Targets s + 1 to s + count, cut at the end of the plate. Empty when the
// source is past the end (a frame beyond the last sample).
FillResult fillRange(const State &state, int source, int count)
{
    FillResult range;
    range.first = source + 1;
    const int limit = lastFillTarget(state);
    // Clamp before adding so a huge count cannot overflow.
    const int reach = std::clamp(count, 0, std::max(limit - source, 0));
    range.last = source + reach;
    range.hasData = SampleHasData(state, source);
    return range;
}

} // namespace

int usedRows(const State &state)
{
    const int rows = std::min(state.fieldCount(), state.sampleTable.lastField() + 1);
    return std::clamp(rows, 0, int(state.fieldName.size()));
}

int currentSample(const State &state)
{
    return sampleAt(state.topSample, state.curGrid);
}

bool copyItem(State &state)
{
    const QString *item = cell(state, currentSample(state), state.curRow);
    if (!item)
        return false;
    state.clipItem = *item;
    return true;
}

bool pasteItem(State &state)
{
    QString *item = cell(state, currentSample(state), state.curRow);
    if (!item)
        return false;
    *item = state.clipItem;
    return true;
}

bool deleteItem(State &state)
{
    QString *item = cell(state, currentSample(state), state.curRow);
    if (!item)
        return false;
    item->clear();
    return true;
}

bool deleteAllItems(State &state)
{
    const int s = currentSample(state);
    if (!state.sampleTable.contains(s, 0))
        return false;
    const int lastRow = std::min(state.fieldCount(), state.sampleTable.lastField());
    for (int f = 0; f <= lastRow; ++f)
        state.sampleTable(s, f).clear();
    return true;
}

bool insertKey(State &state, int key)
{
    if (key < 1 || key > KeyCount)
        return false;
    QString *keyRow = cell(state, currentSample(state), 0);
    if (!keyRow)
        return false;
    *keyRow = state.keyName[std::size_t(key)];
    return true;
}

int fillCount(int index)
{
    if (index < 1 || index > int(FillCounts.size()))
        return 0;
    return FillCounts[std::size_t(index - 1)];
}

QString fillCaption(int index)
{
    const int count = fillCount(index);
    if (count == 0)
        return QString();
    return QString::number(count) + (count == 1 ? QStringLiteral(" Sample") : QStringLiteral(" Samples"));
}

FillResult fillDownItem(State &state, int count)
{
    const int s = currentSample(state);
    const int row = state.curRow;
    if (!state.sampleTable.contains(s, 0) || !state.sampleTable.contains(s, row))
        return {};
    const FillResult range = fillRange(state, s, count);
    const QString key = state.sampleTable(s, 0);
    for (int t = range.first; t <= range.last; ++t) {
        if (state.sampleTable(t, 0).isEmpty())
            state.sampleTable(t, 0) = key;
        state.sampleTable(t, row) = state.sampleTable(s, row);
    }
    return range;
}

FillResult fillDownAll(State &state, int count)
{
    const int s = currentSample(state);
    if (!state.sampleTable.contains(s, 0))
        return {};
    const FillResult range = fillRange(state, s, count);
    const int lastRow = std::min(state.fieldCount(), state.sampleTable.lastField());
    for (int t = range.first; t <= range.last; ++t) {
        for (int f = 0; f <= lastRow; ++f)
            state.sampleTable(t, f) = state.sampleTable(s, f);
    }
    return range;
}

QString copyAllText(const State &state)
{
    const int rows = usedRows(state);
    QString text = QStringLiteral("Filename: ") + state.fileTitle + CrLf;
    text += QStringLiteral("Sample No.") + Tab;
    for (int f = 0; f < rows; ++f)
        text += state.fieldName[std::size_t(f)] + Tab;
    text += CrLf;

    const int lastSlot = std::min(state.wellCount, state.sampleTable.lastSample());
    for (int s = 0; s <= lastSlot; ++s) {
        if (!SampleHasData(state, s))
            continue;
        text += QString::number(s) + Tab;
        for (int f = 0; f < rows; ++f)
            text += state.sampleTable(s, f) + Tab;
        text += CrLf;
    }
    return text;
}

bool isTypable(QChar c)
{
    const char16_t code = c.unicode();
    return code >= 32 && code <= 126 && code != u'"';
}

bool typeCharacter(State &state, int frame, int row, QChar c)
{
    if (row == 0 || !isTypable(c))
        return false;
    QString *text = gridCell(state, frame, row);
    if (!text)
        return false;
    text->append(c);
    return true;
}

bool eraseLastCharacter(State &state, int frame, int row)
{
    if (row == 0)
        return false;
    QString *text = gridCell(state, frame, row);
    if (!text || text->isEmpty())
        return false;
    text->chop(1);
    return true;
}

bool eraseCell(State &state, int frame, int row)
{
    if (row == 0)
        return false;
    QString *text = gridCell(state, frame, row);
    if (!text)
        return false;
    text->clear();
    return true;
}

int lineFeedPartner(int frame)
{
    if (frame < 0 || frame + 1 >= MaxFrames)
        return -1;
    return frame + 1;
}

int scrolledTop(const State &state, ScrollKey key)
{
    const int lastTop = std::max(state.wellCount, 1);
    const int frames = std::clamp(state.nFrames, 0, MaxFrames);
    const int top = std::clamp(state.topSample, 1, lastTop);
    switch (key) {
    case ScrollKey::PageUp:
        return top > 1 ? top - 1 : top;
    case ScrollKey::PageDown:
        return top < state.wellCount - frames ? top + 1 : top;
    case ScrollKey::Home:
        return 1;
    case ScrollKey::End:
        return std::clamp(state.wellCount - frames, 1, lastTop);
    }
    return top;
}

Advance advance(const State &state, int frame, int row)
{
    const int rows = usedRows(state);
    const int firstDescription = rows > 1 ? 1 : 0;
    const int top = std::clamp(state.topSample, 1, std::max(state.wellCount, 1));
    Advance next;
    next.topSample = top;
    next.frame = frame;

    const int r = std::max(row, 0);
    if (r < rows - 1) {
        next.row = r + 1;
        return next;
    }

    const int frames = std::clamp(state.nFrames, 0, MaxFrames);
    if (frame < frames - 1) {
        next.frame = frame + 1;
        next.row = firstDescription;
        next.moveFocus = true;
        return next;
    }

    // With no frame shown the page is one sample, as the scroll bar's is.
    const int page = std::max(frames, 1);
    next.topSample = top + page < state.wellCount ? top + page : 1;
    next.frame = 0;
    next.row = firstDescription;
    next.moveFocus = true;
    next.refill = true;
    return next;
}

} // namespace Tessar

#include "core/tables/tablepaste.h"

#include "core/editing/editing.h"
#include "core/document/fingerprint.h"
#include "core/document/state.h"
#include "core/files/storedtext.h"
#include "core/plate/plategeometry.h"

#include <QHash>

#include <algorithm>

namespace Tessar {

namespace {

quint64 pasteFingerprint(const State &state)
{
    return quint64(qHashMulti(size_t(documentFingerprint(state)), state.topSample, state.curGrid, state.curRow));
}

// Plate rows and columns of the picked wells' bounding rectangle, from 1.
struct PickedFrame
{
    int top = 0, left = 0, bottom = 0, right = 0;

    PickedFrame(const State &state, const WellSet &picked)
    {
        for (const int s : picked) {
            const PlatePlace place = platePlace(state, s);
            if (place.row == 0)
                continue;
            if (top == 0) {
                top = bottom = place.row;
                left = right = place.column;
            }
            top = std::min(top, place.row);
            bottom = std::max(bottom, place.row);
            left = std::min(left, place.column);
            right = std::max(right, place.column);
        }
    }
    bool empty() const { return top == 0; }
};

class PastePlanner
{
public:
    PastePlanner(const State &state, const WellSet &picked) : mState(state), mPicked(picked), mFrame(state, picked) {}

    PastePlan run(QStringView block)
    {
        mPlan.fingerprint = pasteFingerprint(mState);
        mPlan.firstSample = mFrame.empty() ? currentSample(mState) : wellAt(mState, mFrame.top, mFrame.left);
        mPlan.firstField = mState.curRow;
        const int rows = usedRows(mState);
        if (mPlan.firstSample < 1 || mPlan.firstSample > mState.wellCount
            || !mState.sampleTable.contains(mPlan.firstSample, rows - 1)) {
            addIssue(0, QStringLiteral("the current sample is not on the plate"));
            return std::move(mPlan);
        }
        if (mPlan.firstField < 0 || mPlan.firstField >= rows) {
            addIssue(0, QStringLiteral("there is no current row"));
            return std::move(mPlan);
        }

        int stoppedAtLine = 0;
        const std::vector<TextRecord> lines = splitRecords(block, u'\t', true, &stoppedAtLine);
        if (stoppedAtLine > 0)
            addIssue(stoppedAtLine, QStringLiteral("the block holds more than %1 cells; it is not pasted from here on").arg(MaxCellsInText));
        mPlan.lines = int(std::min<std::size_t>(lines.size(), 1u << 30));
        if (lines.empty()) {
            addIssue(0, QStringLiteral("there is nothing to paste"));
            return std::move(mPlan);
        }
        mPlan.usable = true;
        if (!mFrame.empty()) {
            planOnPlate(lines);
            return finish();
        }

        const int room = rows - mPlan.firstField;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const TextRecord &line = lines[i];
            const int s = mPlan.firstSample + int(i);
            if (s > mState.wellCount) {
                mPlan.cutLines = int(lines.size() - i);
                addIssue(line.line, QStringLiteral("the plate ends at well %1: this line and %2 more are not pasted")
                                        .arg(mState.wellCount).arg(mPlan.cutLines - 1));
                break;
            }
            const int width = int(std::min<qsizetype>(line.cells.size(), 1 << 30));
            if (width > room)
                mPlan.cutColumns = std::max(mPlan.cutColumns, width - room);
            for (int c = 0; c < std::min(width, room); ++c)
                planCell(s, mPlan.firstField + c, line.cells[c], line.line);
        }
        if (mPlan.cutColumns > 0)
            addIssue(0, QStringLiteral("a sample has %1 rows: %2 column(s) past the last row are not pasted")
                            .arg(rows).arg(mPlan.cutColumns));
        return finish();
    }

private:
    void planOnPlate(const std::vector<TextRecord> &lines)
    {
        qint64 outside = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const TextRecord &line = lines[i];
            const qsizetype width = line.cells.size();
            const int row = mFrame.top + int(std::min<std::size_t>(i, 1u << 20));
            for (qsizetype c = 0; c < width; ++c) {
                const int s = wellAt(mState, row, mFrame.left + int(std::min<qsizetype>(c, 1 << 20)));
                if (s == 0 || !contains(mPicked, s))
                    ++outside;
                else
                    planCell(s, mPlan.firstField, line.cells[c], line.line);
            }
        }
        mPlan.outsideCells = int(std::min<qint64>(outside, 1 << 30));
        if (mPlan.outsideCells > 0)
            addIssue(0, QStringLiteral("%1 cell(s) fall beside the selected wells and are not pasted").arg(mPlan.outsideCells));
    }

    PastePlan finish()
    {
        closeIssues(mPlan.issues, mPlan.issueCount);
        return std::move(mPlan);
    }

    void addIssue(int line, const QString &reason) { Tessar::addIssue(mPlan.issues, mPlan.issueCount, line, reason); }

    void planCell(int s, int f, const QString &cell, int line)
    {
        if (f == 0) {
            const QString name = cell.trimmed();
            QString key;
            if (!name.isEmpty()) {
                for (int k = 1; k <= KeyCount && key.isEmpty(); ++k) {
                    if (cell == mState.keyName[std::size_t(k)])
                        key = cell;
                }
                for (int k = 1; k <= KeyCount && key.isEmpty(); ++k) {
                    const QString &known = mState.keyName[std::size_t(k)];
                    if (!known.isEmpty() && name.compare(known.trimmed(), Qt::CaseInsensitive) == 0)
                        key = known;
                }
                if (key.isEmpty()) {
                    ++mPlan.refusedCells;
                    addIssue(line, QStringLiteral("\"%1\" is no key name; the key of sample %2 is left as it was")
                                       .arg(name.left(40), QString::number(s)));
                    return;
                }
            }
            mPlan.cells.push_back({s, f, key});
            return;
        }
        StoredText stored = storedText(cell);
        if (stored.changes & StoredText::Quote)
            addIssue(line, QStringLiteral("a double quote is stored as an apostrophe"));
        if (stored.changes & StoredText::LineBreak)
            addIssue(line, QStringLiteral("a line break is stored as a blank"));
        if (stored.changes & StoredText::OutsideCodePage)
            addIssue(line, QStringLiteral("characters a sample file cannot store are stored as \"?\""));
        if (stored.changes & StoredText::Control)
            addIssue(line, QStringLiteral("a tab or control character is stored as a blank"));
        mPlan.cells.push_back({s, f, std::move(stored.text)});
    }

    const State &mState;
    const WellSet &mPicked;
    const PickedFrame mFrame;
    PastePlan mPlan;
};

} // namespace

std::vector<int> PastePlan::sampleNumbers() const
{
    std::vector<int> numbers;
    for (const PasteCell &cell : cells)
        numbers.push_back(cell.sample);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

PastePlan planPaste(const State &state, QStringView block, const WellSet &picked)
{
    return PastePlanner(state, picked).run(block);
}

QString pickedBlock(const State &state, const WellSet &picked)
{
    const PickedFrame frame(state, picked);
    QString out;
    if (frame.empty())
        return out;
    const int field = state.curRow;
    for (int row = frame.top; row <= frame.bottom; ++row) {
        for (int column = frame.left; column <= frame.right; ++column) {
            if (column > frame.left)
                out += u'\t';
            const int s = wellAt(state, row, column);
            if (s > 0 && contains(picked, s) && state.sampleTable.contains(s, field))
                appendCell(out, state.sampleTable(s, field), u'\t');
        }
        out += QLatin1String("\r\n");
    }
    return out;
}

ApplyStatus applyPaste(State &state, const PastePlan &plan)
{
    if (!plan.usable)
        return ApplyStatus::Unusable;
    if (plan.fingerprint != pasteFingerprint(state))
        return ApplyStatus::StateChanged;
    for (const PasteCell &cell : plan.cells) {
        if (state.sampleTable.contains(cell.sample, cell.field))
            state.sampleTable(cell.sample, cell.field) = cell.text;
    }
    return ApplyStatus::Applied;
}

} // namespace Tessar

#include "readcheck.h"

#include "core/document/document.h"
#include "core/files/samplefile.h"
#include "core/document/state.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>

namespace Tessar {

namespace {

struct Layout
{
    int wells, rows, cols, lastSample, lastField, spots;
};

// The plate formats and the bounds their tables are dimensioned with.
constexpr Layout Layouts[] = {
    {24, 4, 6, 100, 100, 101},
    {48, 6, 8, 100, 100, 101},
    {96, 8, 12, 106, 20, 107},
    {384, 16, 24, 399, 20, 395},
    {1536, 32, 48, 1551, 20, 1547},
};

const Layout *layoutFor(int wells)
{
    for (const Layout &l : Layouts) {
        if (l.wells == wells)
            return &l;
    }
    return nullptr;
}

void fill(State &state, int s, const QString &stem)
{
    for (int f = 0; f < state.fieldCount(); ++f)
        state.sampleTable(s, f) = stem + QString::number(f);
}

// The configuration a read replaces only when the file is recognised.
bool sameConfiguration(const State &a, const State &b)
{
    return a.wellCount == b.wellCount && a.numField == b.numField
        && a.fileDesc == b.fileDesc && a.company == b.company
        && a.fieldName == b.fieldName && a.keyName == b.keyName
        && a.keyColor == b.keyColor;
}

bool samplesEmpty(const State &state)
{
    const SampleTable &t = state.sampleTable;
    for (int s = 0; s <= t.lastSample(); ++s) {
        for (int f = 0; f <= t.lastField(); ++f) {
            if (!t(s, f).isEmpty())
                return false;
        }
    }
    return true;
}

// An upper bound for any sensible numbering of the input's lines, whatever
// mix of line ends it uses.
int lineCount(const QByteArray &input)
{
    int lines = 1;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input[i] == '\n' || (input[i] == '\r' && (i + 1 == input.size() || input[i + 1] != '\n')))
            ++lines;
    }
    return lines;
}

QString statusName(ReadResult::Status status)
{
    switch (status) {
    case ReadResult::Complete: return QStringLiteral("complete");
    case ReadResult::Unrecognised: return QStringLiteral("unrecognised");
    case ReadResult::Failed: return QStringLiteral("failed");
    }
    return QStringLiteral("status %1").arg(int(status));
}

QString describe(const ReadResult &r)
{
    return QStringLiteral("%1 at line %2 (%3)").arg(statusName(r.status)).arg(r.line).arg(r.reason);
}

// A read that throws instead of returning is itself a problem.
ReadResult guardedRead(State &state, const QByteArray &data, QStringList &problems, const char *what)
{
    try {
        return readSampleData(state, data);
    } catch (const std::exception &e) {
        problems << QStringLiteral("%1: the read threw: %2").arg(QLatin1String(what), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        problems << QStringLiteral("%1: the read threw").arg(QLatin1String(what));
    }
    ReadResult failed;
    failed.status = ReadResult::Failed;
    return failed;
}

QByteArray guardedBytes(const State &state, QStringList &problems, const char *what)
{
    try {
        return sampleFileBytes(state);
    } catch (const std::exception &e) {
        problems << QStringLiteral("%1: writing threw: %2").arg(QLatin1String(what), QString::fromLocal8Bit(e.what()));
    }
    return QByteArray();
}

} // namespace

State startingState(int which)
{
    State state;
    applyFirstRunDefaults(state);
    switch (which) {
    case 1:
        state.wellCount = 24;
        state.numField = 2;
        newDocument(state);
        fill(state, 1, QStringLiteral("first"));
        fill(state, 24, QStringLiteral("last"));
        state.topSample = 20;
        state.curGrid = 3;
        state.curRow = 1;
        break;
    case 2:
        state.wellCount = 384;
        state.numField = 10;
        newDocument(state);
        state.fileDesc = QStringLiteral("before the open");
        state.company = QStringLiteral("Other Lab");
        for (int f = 1; f < 11; ++f)
            state.fieldName[f] = QStringLiteral("caption %1").arg(f);
        for (int k = 0; k < 7; ++k) {
            state.keyName[k] = QStringLiteral("key %1").arg(k);
            state.keyColor[k] = Colour(0x10101 * k);
        }
        fill(state, 1, QStringLiteral("a"));
        fill(state, 200, QStringLiteral("b"));
        fill(state, 384, QStringLiteral("c"));
        state.topSample = 380;
        state.curGrid = 9;
        state.curRow = 9;
        break;
    case 3:
        state.wellCount = 1536;
        state.numField = 7;
        newDocument(state);
        fill(state, 1536, QStringLiteral("z"));
        state.topSample = 1536;
        state.curGrid = 9;
        state.curRow = 6;
        break;
    default:
        newDocument(state);
        break;
    }
    return state;
}

// Building a starting state lays out a plate; the fuzzer asks for them
// thousands of times a second, so each is built once and copied.
const State &cachedStart(int which)
{
    static const std::array<State, StartingStateCount> states = [] {
        std::array<State, StartingStateCount> built;
        for (int i = 0; i < StartingStateCount; ++i)
            built[std::size_t(i)] = startingState(i);
        return built;
    }();
    return states[std::size_t(std::clamp(which, 0, StartingStateCount - 1))];
}

QStringList invariantProblems(const State &state)
{
    QStringList problems;
    const float nf = state.numField;
    if (!std::isfinite(nf) || nf != std::floor(nf) || nf < MinFields || nf > MaxFields)
        problems << QStringLiteral("numField is %1").arg(double(nf));
    else if (state.fieldCount() != int(nf))
        problems << QStringLiteral("fieldCount() is %1 for numField %2").arg(state.fieldCount()).arg(double(nf));

    const Layout *l = layoutFor(state.wellCount);
    if (!l) {
        problems << QStringLiteral("wellCount is %1").arg(state.wellCount);
        return problems;
    }
    if (state.nRows != l->rows || state.nCols != l->cols)
        problems << QStringLiteral("%1 wells laid out as %2 x %3").arg(l->wells).arg(state.nRows).arg(state.nCols);
    if (state.sampleTable.lastSample() != l->lastSample || state.sampleTable.lastField() != l->lastField)
        problems << QStringLiteral("%1 wells with a table of 0..%2 x 0..%3")
                        .arg(l->wells).arg(state.sampleTable.lastSample()).arg(state.sampleTable.lastField());
    if (int(state.spotX.size()) != l->spots || int(state.spotY.size()) != l->spots)
        problems << QStringLiteral("%1 wells with %2/%3 well positions")
                        .arg(l->wells).arg(state.spotX.size()).arg(state.spotY.size());
    else if (state.spotX[l->wells] <= 0.0f || state.spotY[l->wells] <= 0.0f)
        problems << QStringLiteral("the last of %1 wells has no position").arg(l->wells);
    if (state.topSample < 1 || state.topSample > state.wellCount)
        problems << QStringLiteral("topSample is %1 of %2").arg(state.topSample).arg(state.wellCount);
    if (state.curGrid < 0 || state.curGrid >= MaxFrames)
        problems << QStringLiteral("curGrid is %1").arg(state.curGrid);
    if (state.curRow < 0 || state.curRow >= state.fieldCount())
        problems << QStringLiteral("curRow is %1 with %2 rows").arg(state.curRow).arg(state.fieldCount());
    return problems;
}

QStringList readProblems(const QByteArray &input, int start)
{
    QStringList problems;
    const State &before = cachedStart(start);
    State state = before;
    const ReadResult r = guardedRead(state, input, problems, "reading the input");
    for (const QString &p : invariantProblems(state))
        problems << QStringLiteral("after reading the input (%1): %2").arg(describe(r), p);
    if (!problems.isEmpty())
        return problems;

    if (r.status == ReadResult::Unrecognised) {
        if (!sameConfiguration(before, state))
            problems << QStringLiteral("an unrecognised file changed the configuration");
        if (!samplesEmpty(state))
            problems << QStringLiteral("an unrecognised file left samples in the document");
    } else if (r.status == ReadResult::Failed) {
        if (r.line < 1 || r.line > lineCount(input) + 1)
            problems << QStringLiteral("failure reported at line %1 of %2").arg(r.line).arg(lineCount(input));
        if (r.reason.isEmpty())
            problems << QStringLiteral("failure at line %1 without a reason").arg(r.line);
    }
    if (state.wellCount == before.wellCount && state.topSample != before.topSample)
        problems << QStringLiteral("reading a file of the same format scrolled from %1 to %2")
                        .arg(before.topSample).arg(state.topSample);

    // Whatever the read left, saving it must give a file that reads back
    // completely and saves to the same bytes.
    const QByteArray saved = guardedBytes(state, problems, "saving the result");
    State again = cachedStart(0);
    const ReadResult r2 = guardedRead(again, saved, problems, "reading the saved result");
    if (r2.status != ReadResult::Complete)
        problems << QStringLiteral("the saved result reads back %1").arg(describe(r2));
    for (const QString &p : invariantProblems(again))
        problems << QStringLiteral("after reading the saved result: %1").arg(p);
    const QByteArray resaved = guardedBytes(again, problems, "saving again");
    if (resaved != saved)
        problems << QStringLiteral("saving, opening and saving again changes the file:\n--- first\n%1\n--- second\n%2")
                        .arg(QString::fromLatin1(saved.left(2000)), QString::fromLatin1(resaved.left(2000)));

    // A file read completely brings its whole document; nothing of the one
    // it was opened over may survive into what is saved.
    if (r.status == ReadResult::Complete && start != 0) {
        State fresh = cachedStart(0);
        guardedRead(fresh, input, problems, "reading the input over the defaults");
        if (guardedBytes(fresh, problems, "saving that") != saved)
            problems << QStringLiteral("a complete read over starting state %1 saves differently than over the defaults")
                            .arg(start);
    }
    return problems;
}

} // namespace Tessar

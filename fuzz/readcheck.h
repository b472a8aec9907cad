#pragma once

#include <QByteArray>
#include <QStringList>

namespace Tessar {

struct State;

// The documents a file may be opened over. Each differs from the others in
// plate format, rows per sample, configuration and scroll position, so a
// reader that lets any of that leak into the result shows up.
inline constexpr int StartingStateCount = 4;
State startingState(int which);
// The same states, built once: the fuzzers ask for them thousands of times a
// second.
const State &cachedStart(int which);

// Problems with the model itself: numField, the plate format and its layout,
// the scroll position and the current item. Empty when all hold.
QStringList invariantProblems(const State &state);

// Opens `input` over starting state `start` and checks everything a read
// must leave true, whatever the input: the invariants, what an unrecognised
// or failed read may change, and that saving the result and opening the
// saved bytes again gives the very same bytes. Empty when all hold.
QStringList readProblems(const QByteArray &input, int start);

} // namespace Tessar

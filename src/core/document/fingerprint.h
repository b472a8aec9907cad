#pragma once

#include <QtGlobal>

namespace Tessar {

struct State;

// A digest of everything a planned change depends on: the plate format, the
// rows and their captions, the key names and every cell in use. A plan made
// for one document is refused by any other, so a table planned, then left
// while the user edited, can never land on the wrong samples.
quint64 documentFingerprint(const State &state);

} // namespace Tessar

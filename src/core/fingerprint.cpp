#include "fingerprint.h"

#include "state.h"

#include <QHash>

#include <algorithm>

namespace Tessar {

quint64 documentFingerprint(const State &state)
{
    // A fixed seed: the digest is only ever compared within one run.
    constexpr size_t seed = 0x5e55a7;
    size_t h = qHashMulti(seed, state.wellCount, state.numField);
    for (const QString &name : state.fieldName)
        h = qHashMulti(h, name);
    for (const QString &name : state.keyName)
        h = qHashMulti(h, name);
    const SampleTable &table = state.sampleTable;
    const int lastField = std::min(state.fieldCount(), table.lastField());
    for (int s = 0; s <= table.lastSample(); ++s) {
        for (int f = 0; f <= lastField; ++f) {
            const QString &cell = table(s, f);
            if (!cell.isEmpty())
                h = qHashMulti(h, s, f, cell);
        }
    }
    return quint64(h);
}

} // namespace Tessar

#include "core/document/fingerprint.h"

#include "core/document/state.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace Tessar {

namespace {

// A plain multiply-and-rotate digest: Qt's string hash is built to resist
// chosen collisions, which a check against accidental change does not need,
// and costs several times as much over a full plate.
class Digest
{
public:
    void add(quint64 value)
    {
        mH = (std::rotl(mH ^ value, 29) + 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
    }

    void add(QStringView text)
    {
        const char16_t *p = text.utf16();
        qsizetype n = text.size();
        add(quint64(n));
        for (; n >= 4; n -= 4, p += 4) {
            quint64 word;
            std::memcpy(&word, p, sizeof word);
            add(word);
        }
        quint64 rest = 0;
        if (n > 0)
            std::memcpy(&rest, p, std::size_t(n) * sizeof(char16_t));
        add(rest);
    }

    quint64 value() const { return mH; }

private:
    quint64 mH = 0x5E55A7;
};

} // namespace

quint64 documentFingerprint(const State &state)
{
    Digest d;
    d.add(quint64(state.wellCount));
    d.add(quint64(std::bit_cast<quint32>(state.numField)));
    for (const QString &name : state.fieldName)
        d.add(name);
    for (const QString &name : state.keyName)
        d.add(name);
    const SampleTable &table = state.sampleTable;
    const int lastField = std::min(state.fieldCount(), table.lastField());
    for (int s = 0; s <= table.lastSample(); ++s) {
        for (int f = 0; f <= lastField; ++f) {
            const QString &cell = table(s, f);
            if (!cell.isEmpty()) {
                d.add(quint64(s) << 32 | quint64(f));
                d.add(cell);
            }
        }
    }
    return d.value();
}

} // namespace Tessar

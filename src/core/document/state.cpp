#include "core/document/state.h"

#include <cmath>
#include <cstring>

namespace Tessar {

int roundToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    // Half to even, so 2.5 becomes 2 and 3.5 becomes 4.
    const double r = std::nearbyint(value);
    if (r > 2147483647.0)
        return 2147483647;
    if (r < -2147483648.0)
        return -2147483647 - 1;
    return int(r);
}

int State::fieldCount() const
{
    return roundToInt(numField);
}

bool SampleHasData(const State &state, int s)
{
    const int nf = state.fieldCount();
    for (int f = 0; f < nf; ++f) {
        if (!state.sampleTable.contains(s, f))
            return false;
        if (!state.sampleTable(s, f).isEmpty())
            return true;
    }
    return false;
}

void InitColors(State &state)
{
    state.keyColor[0] = ButtonShadowColour;
    state.keyColor[1] = 0xFF0000u;  // light blue
    state.keyColor[2] = 0x00FF00u;  // light green
    state.keyColor[3] = 0xFFFF00u;  // light cyan
    state.keyColor[4] = 0x0000FFu;  // light red
    state.keyColor[5] = 0xFF00FFu;  // light magenta
    state.keyColor[6] = 0x00FFFFu;  // yellow
}

int keyNamed(const State &state, const QString &text)
{
    // Asked for every row of every well each time the whole map is drawn,
    // so it stays a plain comparison of code units: most texts differ in
    // length or at their ends, and a key row set by Insert
    // shares the key name's own text. The last key of that name wins.
    const qsizetype length = text.size();
    if (length == 0)
        return 0;
    const QChar first = text.front();
    const QChar last = text.back();
    for (int k = KeyCount; k >= 1; --k) {
        const QString &name = state.keyName[std::size_t(k)];
        // Texts of a key's length mostly differ at one end already, which
        // spares the call that compares them whole.
        if (name.size() != length || name.front() != first || name.back() != last)
            continue;
        if (name.isSharedWith(text) || std::memcmp(name.constData(), text.constData(), std::size_t(length) * sizeof(QChar)) == 0)
            return k;
    }
    return 0;
}

} // namespace Tessar

#include "core/plate/wellsummary.h"

#include "core/plate/plategeometry.h"
#include "core/document/state.h"

#include <algorithm>

namespace Tessar {

namespace {

constexpr int TipFields = 4;         // a tooltip is a glance, not the frame
constexpr int TipValueLength = 40;
constexpr int TipCaptionLength = 24;
constexpr QChar Ellipsis(0x2026);

} // namespace

int discKey(const State &state, int s)
{
    int key = 0;
    const int last = state.fieldCount();
    for (int f = 0; f <= last; ++f) {
        if (!state.sampleTable.contains(s, f))
            break;
        const int k = keyNamed(state, state.sampleTable(s, f));
        if (k > 0)
            key = k;
    }
    return key;
}

WellTip wellTip(const State &state, int s)
{
    WellTip tip;
    if (s < 1 || s > state.wellCount || !state.sampleTable.contains(s, 0))
        return tip;
    tip.title = spotname(state, s).toString();
    if (!SampleHasData(state, s)) {
        tip.lines.append(QStringLiteral("Empty"));
        return tip;
    }

    const int k = discKey(state, s);
    tip.lines.append(k > 0 ? QStringLiteral("Key %1: %2").arg(k).arg(shortened(state.keyName[std::size_t(k)], TipValueLength))
                           : QStringLiteral("No key"));
    int shown = 0;
    int left = 0;
    const int rows = std::min(state.fieldCount(), int(state.fieldName.size()));
    for (int f = 1; f < rows && state.sampleTable.contains(s, f); ++f) {
        const QString &value = state.sampleTable(s, f);
        if (value.isEmpty())
            continue;
        if (shown == TipFields) {
            ++left;
            continue;
        }
        const QString caption = shortened(state.fieldName[std::size_t(f)], TipCaptionLength);
        const QString text = shortened(value, TipValueLength);
        tip.lines.append(caption.isEmpty() ? text : caption + QStringLiteral(": ") + text);
        ++shown;
    }
    if (left > 0)
        tip.lines.append(left == 1 ? QStringLiteral("and 1 more field") : QStringLiteral("and %1 more fields").arg(left));
    return tip;
}

QString shortened(const QString &text, int maxLength)
{
    QString flat = text;
    for (QChar &c : flat) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    if (flat.size() <= maxLength)
        return flat;
    if (maxLength <= 0)
        return QString();
    qsizetype keep = maxLength - 1;
    // Never half a character.
    if (keep > 0 && flat.at(keep - 1).isHighSurrogate())
        --keep;
    return flat.left(keep) + Ellipsis;
}

} // namespace Tessar

#include "core/reports/listing.h"

#include "core/editing/editing.h"
#include "core/document/state.h"

#include <algorithm>
#include <array>

namespace Tessar {

namespace {

const QString CrLf = QStringLiteral("\r\n");

int lastListedSample(const State &state)
{
    return std::min(state.wellCount, state.sampleTable.lastSample());
}

bool isNamedKey(const State &state, const QString &name)
{
    if (name.isEmpty())
        return false;
    for (int k = 1; k <= KeyCount; ++k) {
        if (state.keyName[std::size_t(k)] == name)
            return true;
    }
    return false;
}

// "All": one line per named key with the number of samples holding its
// name. Keys sharing a name each count every sample with that name.
int listKeyCounts(const State &state, QString &text)
{
    std::array<int, KeyCount + 1> count{};
    const int last = lastListedSample(state);
    for (int s = 0; s <= last; ++s) {
        const QString &key = state.sampleTable(s, 0);
        for (int k = 1; k <= KeyCount; ++k) {
            if (key == state.keyName[std::size_t(k)])
                ++count[std::size_t(k)];
        }
    }

    int total = 0;
    for (int k = 1; k <= KeyCount; ++k) {
        const QString &name = state.keyName[std::size_t(k)];
        if (name.isEmpty())
            continue;
        total += count[std::size_t(k)];
        text += QString::number(count[std::size_t(k)]) + QStringLiteral(" samples for ") + name + CrLf;
    }
    return total;
}

// One block per sample holding the key, in plate order: its place, its
// description fields, an empty line.
int listKeySamples(const State &state, const QString &key, QString &text)
{
    const int last = lastListedSample(state);
    const int rows = usedRows(state);
    if (state.nCols <= 0)
        return 0;

    int total = 0;
    for (int r = 0; r < state.nRows; ++r) {
        const long long rowStart = static_cast<long long>(state.nCols) * r;
        if (rowStart + 1 > last)
            break;
        for (int c = 1; c <= state.nCols && rowStart + c <= last; ++c) {
            const int s = int(rowStart + c);
            if (state.sampleTable(s, 0) != key)
                continue;
            ++total;
            text += QStringLiteral("Column ") + QChar(char16_t(65 + r)) + QStringLiteral(" Sample No. ")
                    + QString::number(c) + CrLf;
            for (int f = 1; f < rows; ++f)
                text += state.fieldName[std::size_t(f)] + QStringLiteral("  ") + state.sampleTable(s, f) + CrLf;
            text += CrLf;
        }
    }
    return total;
}

QString countLine(int total)
{
    if (total <= 0)
        return QStringLiteral("No Samples");
    return QString::number(total) + (total > 1 ? QStringLiteral(" Samples") : QStringLiteral(" Sample"));
}

} // namespace

QStringList listingChoices(const State &state)
{
    QStringList choices{QString::fromLatin1(AllKeysChoice)};
    for (int k = 1; k <= KeyCount; ++k) {
        const QString &name = state.keyName[std::size_t(k)];
        if (!name.isEmpty())
            choices << name;
    }
    return choices;
}

KeyListing listSamplesByKey(const State &state, const QString &choice)
{
    KeyListing listing;
    int total = 0;
    if (choice == QLatin1String(AllKeysChoice))
        total = listKeyCounts(state, listing.text);
    else if (isNamedKey(state, choice)) // a typed text that names no key lists nothing
        total = listKeySamples(state, choice, listing.text);
    listing.status = countLine(total);
    return listing;
}

} // namespace Tessar

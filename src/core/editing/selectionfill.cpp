#include "core/editing/selectionfill.h"

#include "core/document/state.h"
#include "core/editing/editing.h"

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

// Far beyond any plate, and well inside what a long long holds after steps.
constexpr long long LargestCount = 999'999'999'999LL;

bool holdsSample(const State &state, int s)
{
    return s >= 1 && s <= state.wellCount && state.sampleTable.contains(s, 0);
}

// The number ending the text: where its digits start, or -1 when none do.
qsizetype trailingDigits(const QString &text)
{
    qsizetype start = text.size();
    while (start > 0 && text.at(start - 1).isDigit() && text.at(start - 1).unicode() < 128)
        --start;
    return start == text.size() ? -1 : start;
}

QString padded(long long value, qsizetype width)
{
    const QString digits = QString::number(value < 0 ? -value : value).rightJustified(width, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

bool insertKeyInto(State &state, const WellSet &wells, int key)
{
    if (key < 1 || key > KeyCount)
        return false;
    bool changed = false;
    for (const int s : wells) {
        if (!holdsSample(state, s))
            continue;
        state.sampleTable(s, 0) = state.keyName[std::size_t(key)];
        changed = true;
    }
    return changed;
}

bool deleteAllIn(State &state, const WellSet &wells)
{
    const int lastRow = std::min(state.fieldCount(), state.sampleTable.lastField());
    bool changed = false;
    for (const int s : wells) {
        if (!holdsSample(state, s))
            continue;
        for (int f = 0; f <= lastRow; ++f)
            state.sampleTable(s, f).clear();
        changed = true;
    }
    return changed;
}

WellSet fillOrder(const State &state, const WellSet &wells, FillOrder order)
{
    WellSet ordered = wells;
    std::sort(ordered.begin(), ordered.end());
    if (order != FillOrder::DownColumns || state.nCols <= 0)
        return ordered;
    // Samples run along the plate rows, so down the columns sorts by column first.
    const int cols = state.nCols;
    std::stable_sort(ordered.begin(), ordered.end(), [cols](int a, int b) {
        return (a - 1) % cols < (b - 1) % cols;
    });
    return ordered;
}

std::optional<double> parseFactor(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = 0;
    const qsizetype slash = trimmed.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        bool topOk = false;
        bool bottomOk = false;
        const double top = trimmed.left(slash).trimmed().toDouble(&topOk);
        const double bottom = trimmed.mid(slash + 1).trimmed().toDouble(&bottomOk);
        ok = topOk && bottomOk && bottom != 0;
        value = ok ? top / bottom : 0;
    } else {
        value = trimmed.toDouble(&ok);
    }
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

FillValues fillValues(const FillRule &rule, int count)
{
    FillValues result;
    for (const QChar c : rule.text) {
        if (!isTypable(c))
            return {{}, QStringLiteral("The text holds a character a sample field cannot take.")};
    }
    const int replicates = std::clamp(rule.replicates, 1, 12);
    count = std::max(count, 0);
    switch (rule.series) {
    case FillSeries::Same:
        for (int i = 0; i < count; ++i)
            result.values.append(rule.text);
        break;
    case FillSeries::CountUp: {
        const qsizetype start = trailingDigits(rule.text);
        if (start < 0)
            return {{}, QStringLiteral("To count up, the text must end in a number.")};
        const QString stem = rule.text.left(start);
        const QString digits = rule.text.mid(start);
        if (digits.size() > 12)
            return {{}, QStringLiteral("The number to count up from is too long.")};
        const long long first = digits.toLongLong();
        const long long step = std::clamp(rule.step, -LargestCount, LargestCount);
        for (int i = 0; i < count; ++i) {
            const long long value = first + (i / replicates) * step;
            if (value > LargestCount || value < -LargestCount)
                return {{}, QStringLiteral("The numbers grow too large.")};
            result.values.append(stem + padded(value, digits.size()));
        }
        break;
    }
    case FillSeries::Dilute: {
        const std::optional<double> first = parseFactor(rule.text);
        if (!first && rule.text.trimmed() != QLatin1String("0"))
            return {{}, QStringLiteral("To dilute, the text must be a number.")};
        if (!(rule.factor > 0) || !std::isfinite(rule.factor))
            return {{}, QStringLiteral("The dilution factor must be a positive number.")};
        double value = first.value_or(0);
        for (int i = 0; i < count; ++i) {
            if (i > 0 && i % replicates == 0)
                value *= rule.factor;
            if (!std::isfinite(value))
                return {{}, QStringLiteral("The values grow too large.")};
            result.values.append(QString::number(value, 'g', 4));
        }
        break;
    }
    }
    return result;
}

QString checkFill(const State &state, int row, const QStringList &values)
{
    if (row < 0 || row >= usedRows(state))
        return QStringLiteral("There is no such row.");
    if (row != 0)
        return QString();
    for (const QString &value : values) {
        if (value.isEmpty())
            continue;
        bool known = false;
        for (int k = 1; k <= KeyCount; ++k)
            known = known || (!state.keyName[std::size_t(k)].isEmpty() && state.keyName[std::size_t(k)] == value);
        if (!known)
            return QStringLiteral("\"%1\" is not the name of a key.").arg(value);
    }
    return QString();
}

bool applyFill(State &state, int row, const WellSet &ordered, const QStringList &values)
{
    if (!checkFill(state, row, values).isEmpty())
        return false;
    bool changed = false;
    const qsizetype n = std::min<qsizetype>(qsizetype(ordered.size()), values.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int s = ordered[std::size_t(i)];
        if (!holdsSample(state, s) || !state.sampleTable.contains(s, row))
            continue;
        state.sampleTable(s, row) = values[i];
        changed = true;
    }
    return changed;
}

} // namespace Tessar

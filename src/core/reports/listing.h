#pragma once

#include <QString>
#include <QStringList>

namespace Tessar {

struct State;

// What List Samples by Key shows for one choice.
struct KeyListing
{
    QString text;       // the listing, lines ending in CR LF
    QString status;     // the count line, e.g. "2 Samples" or "No Samples"
};

inline constexpr char AllKeysChoice[] = "All";

// The choices offered: "All", then every key name that is not empty.
QStringList listingChoices(const State &state);

// The listing for a choice: counts per named key for "All", otherwise every
// sample whose key row holds exactly that text, in plate order.
KeyListing listSamplesByKey(const State &state, const QString &choice);

} // namespace Tessar

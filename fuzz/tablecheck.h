#pragma once

#include <QByteArray>
#include <QStringList>

namespace Tessar {

// The ways a table can arrive: as a .csv or a .tsv file, or told by its
// content (the clipboard, standard input, other names).
inline constexpr int TableSourceCount = 3;

// Imports `input` as a table into starting state `start` (see readcheck.h)
// and pastes it as a block at that state's current item, and checks what
// both must leave true whatever the input: the plan only names wells on the
// plate and rows in use, applying it writes what it lists and nothing else,
// every text stored is one a sample file holds, and what was imported goes
// out as CSV and comes back the same. Empty when all hold.
QStringList tableProblems(const QByteArray &input, int source, int start);

} // namespace Tessar

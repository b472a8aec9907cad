// The reports wing: List by Key, the printout's lines, its pages and the pages to print.
#pragma once

#include <QString>

#include <vector>

namespace Tessar {

struct State;

// One printed line.
struct PrintLine
{
    QString text;
    bool bold = false;
};

// One page: the lines of one plate row that holds information.
using PrintPage = std::vector<PrintLine>;

// The pages of one copy of the printout of the current document, one per
// plate row that holds information; an empty document gives none.
std::vector<PrintPage> printoutPages(const State &state);

} // namespace Tessar

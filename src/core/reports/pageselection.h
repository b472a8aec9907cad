#pragma once

#include <vector>

namespace Tessar {

// Pages first to last, counted from 1, as a print dialog names them.
struct PageSpan
{
    int first = 0;
    int last = 0;
};

// More copies than any print dialog offers are taken as a slip, not as a
// request to print for hours.
inline constexpr int MaxCopies = 999;

// The sheets to put on paper, counted from 0, in order: `copies` copies
// alike, each holding the sheets of the printout that one of the spans
// names (every sheet when there are no spans). Spans reaching past the
// printout are cut to it; a span that ends before it starts names nothing.
std::vector<int> sheetsToPrint(int sheetCount, int copies, const std::vector<PageSpan> &spans);

} // namespace Tessar

#include "core/reports/pageselection.h"

#include <algorithm>

namespace Tessar {

std::vector<int> sheetsToPrint(int sheetCount, int copies, const std::vector<PageSpan> &spans)
{
    std::vector<int> sheets;
    if (sheetCount <= 0 || copies <= 0)
        return sheets;
    copies = std::min(copies, MaxCopies);

    std::vector<int> oneCopy;
    for (int sheet = 0; sheet < sheetCount; ++sheet) {
        const int page = sheet + 1;
        const bool chosen = spans.empty()
            || std::any_of(spans.begin(), spans.end(),
                           [page](const PageSpan &span) { return span.first <= page && page <= span.last; });
        if (chosen)
            oneCopy.push_back(sheet);
    }
    sheets.reserve(oneCopy.size() * std::size_t(copies));
    for (int copy = 0; copy < copies; ++copy)
        sheets.insert(sheets.end(), oneCopy.begin(), oneCopy.end());
    return sheets;
}

} // namespace Tessar

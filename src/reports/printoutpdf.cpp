#include "printoutpdf.h"

#include "core/document/state.h"
#include "core/reports/printout.h"
#include "platform/printingcalls.h"

namespace Tessar {

bool writePrintoutPdf(const State &state, const QString &path, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const std::vector<PrintPage> pages = printoutPages(state);
    if (pages.empty())
        return fail(QStringLiteral("There is nothing to print: no sample holds any information."));
    const PrintingCalls *calls = printingCalls();
    if (!calls)
        return fail(printingMissing());
    return calls->writePdf(pages, state.fileTitle.isEmpty() ? QStringLiteral("Untitled") : state.fileTitle, path,
                           error);
}

} // namespace Tessar

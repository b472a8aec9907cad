#include "printing.h"

#include "core/reports/printout.h"
#include "platform/commondialogs.h"
#include "platform/messagebox.h"
#include "platform/printingcalls.h"

namespace Tessar {

namespace {

using PagesCall = void (*)(QWidget *, CommonDialogs &, const std::vector<PrintPage> &);

// There is nothing to choose in the printer dialog for an empty document,
// so the printing module is not even loaded for one.
void printPages(QWidget *parent, const State &state, const QString &title, const QString &what,
                PagesCall PrintingCalls::*call)
{
    const std::vector<PrintPage> pages = printoutPages(state);
    if (pages.empty()) {
        tellNothingToPrint(parent, title, what);
        return;
    }
    const PrintingCalls *calls = printingCalls();
    if (!calls) {
        tell(parent, "PrintFailed", QMessageBox::Warning, title, printingMissing());
        return;
    }
    (calls->*call)(parent, CommonDialogs::instance(), pages);
}

} // namespace

void tellNothingToPrint(QWidget *parent, const QString &title, const QString &what)
{
    tell(parent, "NothingToPrint", QMessageBox::Information, title,
         QStringLiteral("There is nothing to %1: no sample of this document holds any information.").arg(what));
}

void printDocument(QWidget *parent, const State &state)
{
    printPages(parent, state, QStringLiteral("Print"), QStringLiteral("print"), &PrintingCalls::print);
}

void previewDocument(QWidget *parent, const State &state)
{
    printPages(parent, state, QStringLiteral("Print Preview"), QStringLiteral("preview"), &PrintingCalls::preview);
}

} // namespace Tessar

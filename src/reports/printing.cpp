#include "printing.h"

#include "platform/commondialogs.h"
#include "printoutrenderer.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPrinter>

#include <algorithm>

namespace Tessar {

namespace {

const QString PrintTitle = QStringLiteral("Print");

void tell(QWidget *parent, const char *name, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QLatin1String(name));
    box.exec();
}

QString pagesText(int count)
{
    return count == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(count);
}

void reportResult(QWidget *parent, const PrintResult &result)
{
    switch (result.outcome) {
    case PrintResult::Printed:
    case PrintResult::NothingToPrint:
        break;
    case PrintResult::NothingInRange:
        tell(parent, "NothingToPrint", QMessageBox::Information, PrintTitle,
             QStringLiteral("Nothing was printed: the printout has only %1, and none of them is among the "
                            "pages you chose.")
                 .arg(pagesText(result.sheetCount)));
        break;
    case PrintResult::CouldNotStart:
        tell(parent, "PrintFailed", QMessageBox::Warning, PrintTitle,
             QStringLiteral("The printer could not be started. Check that it is ready (or that the output "
                            "file can be written) and print again."));
        break;
    case PrintResult::PageFailed:
        tell(parent, "PrintFailed", QMessageBox::Warning, PrintTitle,
             QStringLiteral("The printer stopped while printing. The printout may be incomplete."));
        break;
    }
}

} // namespace

void tellNothingToPrint(QWidget *parent, const QString &title, const QString &what)
{
    tell(parent, "NothingToPrint", QMessageBox::Information, title,
         QStringLiteral("There is nothing to %1: no sample of this document holds any information.").arg(what));
}

bool printWithDialog(QWidget *parent, QPrinter &printer, const std::vector<PrintPage> &pages)
{
    // The dialog's page range runs over the pages the printout has on the
    // printer's current paper.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, std::max(printoutSheetCount(printer, pages), 1));
    const std::optional<int> copies = CommonDialogs::instance().showPrinter(parent, printer);
    if (!copies)
        return false;
    const PrintJob job = takePrintJob(printer, *copies);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const PrintResult result = renderPrintout(printer, pages, job);
    QGuiApplication::restoreOverrideCursor();
    reportResult(parent, result);
    return result.outcome == PrintResult::Printed;
}

void printDocument(QWidget *parent, const State &state)
{
    // There is nothing to choose in the printer dialog for an empty
    // document, so it is not shown.
    const std::vector<PrintPage> pages = printoutPages(state);
    if (pages.empty()) {
        tellNothingToPrint(parent, PrintTitle, QStringLiteral("print"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printWithDialog(parent, printer, pages);
}

} // namespace Tessar

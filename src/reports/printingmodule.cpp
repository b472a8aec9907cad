// The printing module: everything that needs Qt's printer and SVG
// libraries, behind the calls of platform/printingcalls.h.

#include "platform/commondialogs.h"
#include "platform/messagebox.h"
#include "platform/printingcalls.h"
#include "printoutrenderer.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTemporaryDir>

#include <algorithm>

namespace Tessar {

namespace {

const QString PrintTitle = QStringLiteral("Print");

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

// The printer dialog on `printer`, offering the pages the printout has,
// then the printout as chosen. Returns whether it was printed.
bool printWithDialog(QWidget *parent, CommonDialogs &dialogs, QPrinter &printer, const std::vector<PrintPage> &pages)
{
    // The dialog's page range runs over the pages the printout has on the
    // printer's current paper.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, std::max(printoutSheetCount(printer, pages), 1));
    const std::optional<int> copies = dialogs.showPrinter(parent, printer);
    if (!copies)
        return false;
    const PrintJob job = takePrintJob(printer, *copies);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const PrintResult result = renderPrintout(printer, pages, job);
    QGuiApplication::restoreOverrideCursor();
    reportResult(parent, result);
    return result.outcome == PrintResult::Printed;
}

void print(QWidget *parent, CommonDialogs &dialogs, const std::vector<PrintPage> &pages)
{
    QPrinter printer(QPrinter::HighResolution);
    printWithDialog(parent, dialogs, printer, pages);
}

// The preview window's own Print button.
QAction *printActionOf(QPrintPreviewDialog &dialog)
{
    const QString caption = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    const auto actions = dialog.findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->text() == caption)
            return action;
    }
    return nullptr;
}

void preview(QWidget *parent, CommonDialogs &dialogs, const std::vector<PrintPage> &pages)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&pages](QPrinter *target) {
        renderPrintout(*target, pages, takePrintJob(*target, target->copyCount()));
    });
    // Printing from the preview asks through the same printer dialog as
    // File > Print does, with the page range running over these pages.
    if (QAction *printAction = printActionOf(dialog)) {
        printAction->disconnect(&dialog);
        QObject::connect(printAction, &QAction::triggered, &dialog, [&dialog, &dialogs, &pages] {
            if (printWithDialog(&dialog, dialogs, *dialog.printer(), pages))
                dialog.accept();
        });
    }
    dialog.exec();
}

std::optional<int> printerDialog(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (printer.fromPage() >= 1 && printer.toPage() >= printer.fromPage())
        dialog.setMinMax(printer.fromPage(), printer.toPage());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::max(printer.copyCount(), 1);
}

bool writePdf(const std::vector<PrintPage> &pages, const QString &title, const QString &path, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    // The printer writes only to a named file; the finished draft is then
    // put in place in one step.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(QStringLiteral("No temporary file could be made: %1").arg(scratch.errorString()));
    const QString draft = scratch.filePath(QStringLiteral("printout.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        printer.setDocName(title);
        printer.setCreator(QStringLiteral("Tessar"));
        if (renderPrintout(printer, pages).outcome != PrintResult::Printed)
            return fail(QStringLiteral("The printout could not be made: the temporary file %1 could not be written.")
                            .arg(draft));
    }

    QFile made(draft);
    if (!made.open(QIODevice::ReadOnly))
        return fail(made.errorString());
    const QByteArray bytes = made.readAll();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

QByteArray svg(const SvgRequest &request, const std::function<void(QPainter &)> &paint)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(request.size);
    generator.setResolution(request.dpi);
    generator.setViewBox(QRect(QPoint(0, 0), request.size));
    generator.setTitle(request.title);
    generator.setDescription(request.description);
    {
        QPainter painter(&generator);
        paint(painter);
    }
    return buffer.data();
}

const PrintingCalls calls{print, preview, printerDialog, writePdf, svg};

} // namespace

} // namespace Tessar

extern "C" Q_DECL_EXPORT const Tessar::PrintingCalls *tessarPrinting()
{
    return &Tessar::calls;
}

#include "printpreview.h"

#include "printing.h"
#include "printoutrenderer.h"

#include <QAction>
#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace Tessar {

namespace {

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

} // namespace

void previewDocument(QWidget *parent, const State &state)
{
    const std::vector<PrintPage> pages = printoutPages(state);
    if (pages.empty()) {
        tellNothingToPrint(parent, QStringLiteral("Print Preview"), QStringLiteral("preview"));
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&pages](QPrinter *target) {
        renderPrintout(*target, pages, takePrintJob(*target, target->copyCount()));
    });
    // Printing from the preview asks through the same printer dialog as
    // File > Print does, with the page range running over these pages.
    if (QAction *print = printActionOf(dialog)) {
        print->disconnect(&dialog);
        QObject::connect(print, &QAction::triggered, &dialog, [&dialog, &pages] {
            if (printWithDialog(&dialog, *dialog.printer(), pages))
                dialog.accept();
        });
    }
    dialog.exec();
}

} // namespace Tessar

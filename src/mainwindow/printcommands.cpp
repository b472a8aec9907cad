#include "mainwindow.h"

#include "exportrequest.h"

#include "core/reports/printout.h"
#include "platform/commondialogs.h"
#include "reports/printing.h"
#include "reports/printoutpdf.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

namespace Tessar {

namespace {

const QString ExportPdfTitle = QStringLiteral("Export Printout as PDF");

CommonDialogs::FileRequest pdfRequest(const State &state)
{
    return exportRequest(state, ExportPdfTitle, QStringLiteral("PDF File (*.pdf)|*.pdf|All Files (*.*)|*.*|"),
                         QStringLiteral("pdf"));
}

} // namespace

void MainWindow::mnuFileExportPdf_Click()
{
    if (printoutPages(mState).empty()) {
        tellNothingToPrint(this, ExportPdfTitle, QStringLiteral("export"));
        return;
    }
    const std::optional<QString> path = CommonDialogs::instance().showSave(this, pdfRequest(mState));
    if (!path || path->isEmpty())
        return;
    QString error;
    if (!writePrintoutPdf(mState, *path, &error)) {
        QMessageBox box(QMessageBox::Warning, ExportPdfTitle,
                        QStringLiteral("The printout could not be saved to\n%1\n\n%2")
                            .arg(QDir::toNativeSeparators(*path), error),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("ExportFailed"));
        box.exec();
        return;
    }
    StatusBar->setText(QStringLiteral("Printout saved as %1").arg(QFileInfo(*path).fileName()));
}

void MainWindow::mnuFilePrintPreview_Click()
{
    previewDocument(this, mState);
}

} // namespace Tessar

#include "mainwindow.h"

#include "platform/commondialogs.h"
#include "reports/printing.h"
#include "reports/printoutpdf.h"
#include "reports/printpreview.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

namespace Tessar {

namespace {

const QString ExportPdfTitle = QStringLiteral("Export Printout as PDF");

// Beside the document's file, named after it.
CommonDialogs::FileRequest pdfRequest(const State &state)
{
    CommonDialogs::FileRequest request;
    request.title = ExportPdfTitle;
    request.filter = QStringLiteral("PDF File (*.pdf)|*.pdf|All Files (*.*)|*.*|");
    request.defaultExt = QStringLiteral("pdf");
    request.filterIndex = 1;
    const QFileInfo document(state.filePath);
    request.initDir = !state.filePath.isEmpty() && document.dir().exists() ? document.absolutePath() : state.profileDir;
    const QString title = QFileInfo(state.fileTitle).completeBaseName();
    request.fileName = (title.isEmpty() ? QStringLiteral("Untitled") : title) + QStringLiteral(".pdf");
    return request;
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

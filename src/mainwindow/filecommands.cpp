#include "mainwindow.h"

#include "app/helpwindow.h"
#include "core/document.h"
#include "core/samplefile.h"
#include "dialogs/screencentre.h"
#include "platform/commondialogs.h"
#include "reports/aboutdialog.h"
#include "reports/statdialog.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace Tessar {

namespace {

constexpr int WellSizes[] = {24, 48, 96, 384};

CommonDialogs::FileRequest fileRequest(const State &state, const QString &title)
{
    CommonDialogs::FileRequest request;
    request.fileName = QStringLiteral("*.kwl");
    request.defaultExt = QStringLiteral("kwl");
    request.filter = QStringLiteral("Tessar File (*.kwl)|*.kwl|All Files (*.*)|*.*|");
    request.initDir = state.profileDir;
    request.title = title;
    request.filterIndex = 1;
    return request;
}

} // namespace

// Asks for a file; a completed dialog names the document after it.
bool MainWindow::chooseFile(bool forSaving)
{
    CommonDialogs &dialogs = CommonDialogs::instance();
    const std::optional<QString> path = forSaving
        ? dialogs.showSave(this, fileRequest(mState, QStringLiteral("Save File As")))
        : dialogs.showOpen(this, fileRequest(mState, QStringLiteral("Open File")));
    if (!path || path->isEmpty())
        return false;
    mState.fileTitle = QFileInfo(*path).fileName();
    mState.filePath = *path;
    return true;
}

// Saving replaces the file in one step, so a failure leaves the file on
// disk as it was; the user still has to know the samples are not in it.
void MainWindow::writeDocument()
{
    const WriteResult result = WriteSampleFile(mState);
    if (result.ok)
        return;
    QMessageBox::warning(this, windowTitle(),
                         QStringLiteral("The samples could not be saved to\n%1\n\n%2\n\n"
                                        "Nothing on disk was changed. The samples are still open here: "
                                        "use Save As to save them somewhere else.")
                             .arg(QDir::toNativeSeparators(mState.filePath), result.error));
}

void MainWindow::mnuFileNew_Click()
{
    clearSamples(mState);
    LblFilename->setText(QStringLiteral("Filename: Untitled"));
    mnuFileSave->setEnabled(false);
    TxtFileDesc->setText(QStringLiteral("Description: "));
    sizeform();
    focusFirstSample();
}

void MainWindow::mnuFileOpen_Click()
{
    if (!chooseFile(false))
        return;
    showOpenedDocument();
}

void MainWindow::openFile(const QString &path)
{
    const QFileInfo file(path);
    mState.fileTitle = file.fileName();
    mState.filePath = file.absoluteFilePath();
    showOpenedDocument();
}

void MainWindow::showOpenedDocument()
{
    // A file that cannot be read leaves what was read of it, and the window
    // shows that.
    ReadSampleFile(mState);
    LblCompany->setText(mState.company);
    TxtFileDesc->setText(mState.fileDesc);
    LblFilename->setText(QStringLiteral(" Filename: ") + mState.fileTitle);
    mnuFileSave->setEnabled(true);
    // The file brings its own key names; the Insert entries must insert
    // what they say.
    nameInsertEntries();
    sizeform();
    fillsample(mState.topSample);
    focusFirstSample();
}

void MainWindow::mnuFileSave_Click()
{
    mState.fileDesc = TxtFileDesc->text();
    if (mState.filePath.isEmpty()) {
        if (!chooseFile(true))
            return;
        LblFilename->setText(QStringLiteral("Filename:  ") + mState.fileTitle);
    }
    writeDocument();
}

void MainWindow::mnuFileSaveAs_Click()
{
    mState.fileDesc = TxtFileDesc->text();
    if (!chooseFile(true))
        return;
    LblFilename->setText(QStringLiteral("filename:  ") + mState.fileTitle);
    mnuFileSave->setEnabled(true);
    writeDocument();
}

void MainWindow::mnuFileExit_Click()
{
    close();
}

void MainWindow::MnuSetupWellnum_Click(int index)
{
    if (index < 0 || index >= int(std::size(WellSizes)))
        return;
    mState.wellCount = WellSizes[index];
    initialize5();
    clearSamples(mState);
    LblFilename->setText(QStringLiteral("Filename: Untitled"));
    mnuFileSave->setEnabled(false);
    TxtFileDesc->setText(QStringLiteral("Description: "));
    sizeform();
    focusFirstSample();
}

void MainWindow::CmdList_Click()
{
    StatDialog::run(this, mState);
}

void MainWindow::mnuHelpContents_Click()
{
    HelpWindow::showContents(this);
}

void MainWindow::mnuHelpAbout_Click()
{
    AboutDialog about(this);
    centreOnScreen(&about, this);
    about.exec();
}

} // namespace Tessar

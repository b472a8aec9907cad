#include "mainwindow.h"

#include "core/document/document.h"
#include "core/files/recovery.h"
#include "core/files/samplefile.h"
#include "documenthistory.h"
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

// Where a read stopped, for the status line: the samples before it are open.
QString readReport(const ReadResult &result, const QString &title)
{
    switch (result.status) {
    case ReadResult::Complete:
        return QString();
    case ReadResult::Unrecognised:
        return QStringLiteral("%1 is not a Tessar sample file: nothing was read from it.").arg(title);
    case ReadResult::Failed:
        break;
    }
    if (result.line <= 0)
        return QStringLiteral("%1 could not be read: %2.").arg(title, result.reason);
    return QStringLiteral("%1 was read only up to line %2: %3.").arg(title, QString::number(result.line), result.reason);
}

} // namespace

// Asks for a file; nothing changes until the caller names the document.
std::optional<QString> MainWindow::askFile(bool forSaving)
{
    CommonDialogs &dialogs = CommonDialogs::instance();
    const std::optional<QString> path = forSaving
        ? dialogs.showSave(this, fileRequest(mState, QStringLiteral("Save File As")))
        : dialogs.showOpen(this, fileRequest(mState, QStringLiteral("Open File")));
    if (!path || path->isEmpty())
        return std::nullopt;
    return path;
}

void MainWindow::nameDocument(const QString &path)
{
    mState.fileTitle = QFileInfo(path).fileName();
    mState.filePath = path;
}

// A save that replaces the file in one step leaves it as it was when it
// fails. One that had to write over a shared file in place may have left
// it half written: then the copy kept beforehand is what the user needs.
// Either way the samples are still open here.
bool MainWindow::writeDocument()
{
    // A file that opened only in part still holds what could not be read:
    // it is kept before it is first saved over.
    if (!mDamagedFile.isEmpty() && QFileInfo(mState.filePath) == QFileInfo(mDamagedFile)
        && QFileInfo::exists(mDamagedFile)) {
        QString error;
        const QString copy = keepCopyInRecoveryFolder(mDamagedFile, &error);
        if (copy.isEmpty()) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("The samples were not saved: a copy of the file as it was could not "
                                                "be kept first.\n\n%1\n\nUse Save As to save them somewhere else.")
                                     .arg(error));
            return false;
        }
        StatusBar->setText(QStringLiteral("The file as it was before saving is kept in %1").arg(QDir::toNativeSeparators(copy)));
        mDamagedFile.clear();
    }
    const WriteResult result = WriteSampleFile(mState);
    if (result.ok) {
        mHistory->markSaved();
        return true;
    }
    const QString file = QDir::toNativeSeparators(mState.filePath);
    const QString text = result.keptCopy.isEmpty()
        ? QStringLiteral("The samples could not be saved to\n%1\n\n%2\n\n"
                         "Nothing on disk was changed. The samples are still open here: "
                         "use Save As to save them somewhere else.")
              .arg(file, result.error)
        : QStringLiteral("The samples could not be saved to\n%1\n\n%2\n\n"
                         "The file may now be incomplete. A copy of it as it was before this save is kept in\n%3\n\n"
                         "The samples are still open here: use Save As to save them somewhere else.")
              .arg(file, result.error, QDir::toNativeSeparators(result.keptCopy));
    QMessageBox::warning(this, windowTitle(), text);
    return false;
}

void MainWindow::mnuFileNew_Click()
{
    change(QStringLiteral("New"), EditRecorder::Scope::Document, {}, [this] { startUntitled(); });
    focusFirstSample();
}

// An empty, unnamed document with the plate and keys as they are.
void MainWindow::startUntitled()
{
    clearSamples(mState);
    LblFilename->setText(QStringLiteral("Filename: Untitled"));
    mnuFileSave->setEnabled(false);
    TxtFileDesc->setText(QStringLiteral("Description: "));
    sizeform();
}

void MainWindow::mnuFileOpen_Click()
{
    const std::optional<QString> path = askFile(false);
    if (!path)
        return;
    openDocument(*path, QStringLiteral("Open ") + QFileInfo(*path).fileName());
}

void MainWindow::openFile(const QString &path)
{
    const bool first = mHistory->isUntouched();
    openDocument(QFileInfo(path).absoluteFilePath(), QStringLiteral("Open ") + QFileInfo(path).fileName());
    // The file the program was started for is where the run begins: Undo
    // has no empty document to go back to.
    if (first)
        mHistory->startHere();
}

void MainWindow::openDocument(const QString &path, const QString &stepText)
{
    change(stepText, EditRecorder::Scope::Document, {}, [this, &path] {
        nameDocument(path);
        showOpenedDocument();
    });
    mHistory->markSaved();
    focusFirstSample();
}

void MainWindow::showOpenedDocument()
{
    // A file that cannot be read leaves what was read of it, and the window
    // shows that.
    clearSelection();
    const ReadResult result = ReadSampleFile(mState);
    LblCompany->setText(mState.company);
    TxtFileDesc->setText(mState.fileDesc);
    LblFilename->setText(QStringLiteral(" Filename: ") + mState.fileTitle);
    mnuFileSave->setEnabled(true);
    // The file brings its own key names; the Insert entries must insert
    // what they say.
    nameInsertEntries();
    sizeform();
    fillsample(mState.topSample);
    mDamagedFile = result.ok() ? QString() : mState.filePath;
    StatusBar->setText(readReport(result, mState.fileTitle));
}

void MainWindow::mnuFileSave_Click()
{
    save(false);
}

void MainWindow::mnuFileSaveAs_Click()
{
    save(true);
}

bool MainWindow::save(bool saveAs)
{
    mState.fileDesc = TxtFileDesc->text();
    if (saveAs || mState.filePath.isEmpty()) {
        const std::optional<QString> path = askFile(true);
        if (!path)
            return false;
        nameDocument(*path);
        LblFilename->setText((saveAs ? QStringLiteral("filename:  ") : QStringLiteral("Filename:  ")) + mState.fileTitle);
        if (saveAs)
            mnuFileSave->setEnabled(true);
    }
    return writeDocument();
}

void MainWindow::mnuFileExit_Click()
{
    close();
}

void MainWindow::MnuSetupWellnum_Click(int index)
{
    if (index < 0 || index >= int(std::size(WellSizes)))
        return;
    change(QStringLiteral("Well Size ") + QString::number(WellSizes[index]), EditRecorder::Scope::Document, {},
           [this, index] {
               mState.wellCount = WellSizes[index];
               initialize5();
               startUntitled();
           });
    focusFirstSample();
}

void MainWindow::CmdList_Click()
{
    StatDialog::run(this, mState);
}

void MainWindow::mnuHelpContents_Click()
{
    emit helpRequested();
}

void MainWindow::mnuHelpAbout_Click()
{
    AboutDialog about(this);
    centreOnScreen(&about, this);
    about.exec();
}

} // namespace Tessar

#include "mainwindow.h"

#include "core/files/recovery.h"
#include "core/files/samplefile.h"
#include "dialogs/recoverdialog.h"
#include "documenthistory.h"
#include "recoverykeeper.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace Tessar {

void MainWindow::updateRecoverEntry()
{
    mnuFileRecover->setEnabled(!recoveryFiles(mRecovery->path()).isEmpty());
}

// The recovered samples come back as an untitled document that says where
// it came from; they are in this run's own recovery file before the old
// one is let go.
void MainWindow::mnuFileRecover_Click()
{
    const std::optional<RecoveryFile> chosen = RecoverDialog::run(this, recoveryFiles(mRecovery->path()));
    updateRecoverEntry();
    if (!chosen)
        return;
    change(QStringLiteral("Recover Unsaved Samples"), EditRecorder::Scope::Document, {}, [this, &chosen] {
        mState.filePath = chosen->path;
        const ReadResult result = ReadSampleFile(mState);
        mState.filePath.clear();
        mState.fileTitle.clear();
        LblCompany->setText(mState.company);
        TxtFileDesc->setText(mState.fileDesc);
        LblFilename->setText(QStringLiteral("Filename: Untitled, recovered from ") + RecoverDialog::describe(*chosen));
        mnuFileSave->setEnabled(true);
        nameInsertEntries();
        sizeform();
        fillsample(mState.topSample);
        if (!result.ok())
            StatusBar->setText(QStringLiteral("The recovery file was read only up to line %1: %2.")
                                   .arg(result.line).arg(result.reason));
    });
    focusFirstSample();
    if (mRecovery->flush())
        removeRecoveryFile(chosen->path);
    updateRecoverEntry();
}

} // namespace Tessar

#include "mainwindow.h"

#include "dialogs/colordialog.h"
#include "dialogs/configdialog.h"
#include "reports/printing.h"

#include <QAction>
#include <QLabel>

namespace Tessar {

void MainWindow::mnuFilePrint_Click()
{
    printDocument(this, mState);
}

// Every well of a key whose colour changed takes the new colour, not only
// the current sample's.
void MainWindow::mnuSetupColor_Click()
{
    change(QStringLiteral("Color"), EditRecorder::Scope::Configuration, {}, [this] {
        ColorDialog::run(this, mState);
        fillsample(mState.topSample);
        fillallpic();
    });
}

// The row count may change even when the dialog is cancelled, so the
// window is brought up to date however it closed.
void MainWindow::mnuSetupConfigure_Click()
{
    clearSelection();
    change(QStringLiteral("Configure"), EditRecorder::Scope::Configuration, {}, [this] {
        ConfigDialog::run(this, mState, [this] { writeSettings(); });
        LblCompany->setText(mState.company);
        nameInsertEntries();
        sizeform();
    });
}

} // namespace Tessar

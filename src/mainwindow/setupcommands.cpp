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

void MainWindow::mnuSetupColor_Click()
{
    ColorDialog::run(this, mState);
    fillsample(mState.topSample);
}

// The row count may change even when the dialog is cancelled, so the
// window is brought up to date however it closed.
void MainWindow::mnuSetupConfigure_Click()
{
    ConfigDialog::run(this, mState, [this] { writeSettings(); });
    LblCompany->setText(mState.company);
    nameInsertEntries();
    sizeform();
}

} // namespace Tessar

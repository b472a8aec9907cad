#include "mainwindow.h"

// The editing, search, key and set-up commands, and the sample grids'
// events. The menu entries and grids are wired to these already; each one
// does nothing until its command is built.

namespace Tessar {

void MainWindow::mnuFilePrint_Click() {}

void MainWindow::mnuEditCopyAll_Click() {}
void MainWindow::mnuEditCopy_Click() {}
void MainWindow::mnuEditPaste_Click() {}
void MainWindow::mnuEditDeleteAll_Click() {}
void MainWindow::mnuEditDelete_Click() {}
void MainWindow::mnuEditFillNum_Click(int) {}
void MainWindow::mnuEditFillAll_Click(int) {}

void MainWindow::mnuSearchFind_Click() {}
void MainWindow::mnuSearchFindNext_Click() {}

void MainWindow::mnuSetupColor_Click() {}
void MainWindow::mnuSetupAssign_Click() {}
void MainWindow::mnuSetupConfigure_Click() {}

void MainWindow::mnuInsertOP_Click(int) {}

void MainWindow::GrdID_Click(int) {}
void MainWindow::GrdID_DblClick(int) {}
void MainWindow::GrdID_KeyDown(int, int, Qt::KeyboardModifiers) {}
void MainWindow::GrdID_KeyPress(int, QChar) {}

} // namespace Tessar

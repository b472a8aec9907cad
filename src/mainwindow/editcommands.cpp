#include "mainwindow.h"

#include "core/editing.h"
#include "platform/grid.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

// The Edit menu, Insert > Operator and the Assign Operator Color option.
// Each works on the item last clicked and refreshes the frames itself.

namespace Tessar {

void MainWindow::mnuEditCopyAll_Click()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(copyAllText(mState));
}

void MainWindow::mnuEditCopy_Click()
{
    if (copyItem(mState))
        mnuEditPaste->setEnabled(true);
}

void MainWindow::mnuEditPaste_Click()
{
    // Nothing was copied since the plate was set up.
    if (!mnuEditPaste->isEnabled())
        return;
    pasteItem(mState);
    fillsample(mState.topSample);
}

void MainWindow::mnuEditDeleteAll_Click()
{
    deleteAllItems(mState);
    fillsample(mState.topSample);
}

void MainWindow::mnuEditDelete_Click()
{
    deleteItem(mState);
    fillsample(mState.topSample);
}

void MainWindow::mnuEditFillNum_Click(int index)
{
    fillDown(index, fillDownItem);
}

void MainWindow::mnuEditFillAll_Click(int index)
{
    fillDown(index, fillDownAll);
}

void MainWindow::fillDown(int index, FillResult (*fill)(State &, int))
{
    const int count = fillCount(index);
    if (count == 0)
        return;
    const FillResult range = fill(mState, count);
    fillsample(mState.topSample);
    fillDownRedraw(range);
}

// The filled wells take the source's look, with or without data: a key a
// target kept shows only at the next full redraw.
void MainWindow::fillDownRedraw(const FillResult &range)
{
    for (int t = range.first; t <= range.last; ++t)
        fillcell(t, range.hasData ? 1 : 0);
}

void MainWindow::mnuInsertOP_Click(int index)
{
    if (index < 1 || index > KeyCount)
        return;
    insertKey(mState, index);
    const int grid = std::clamp(mState.curGrid, 0, MaxFrames - 1);
    const int row = GrdID[std::size_t(grid)]->row();
    fillsample(mState.topSample);
    GrdID[std::size_t(grid)]->setRow(row);
}

void MainWindow::mnuSetupAssign_Click()
{
    mnuSetupAssign->setChecked(!mnuSetupAssign->isChecked());
    mState.colorsOn = mnuSetupAssign->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
    fillsample(mState.topSample);
}

} // namespace Tessar

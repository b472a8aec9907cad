#include "mainwindow.h"

#include "core/editing/editing.h"
#include "core/editing/selectionfill.h"
#include "core/plate/plategeometry.h"
#include "core/tables/tablepaste.h"
#include "platform/grid.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

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
    if (!mSelection.empty()) {
        if (QClipboard *clipboard = QGuiApplication::clipboard())
            clipboard->setText(pickedBlock(mState, mSelection));
        StatusBar->setText(mSelection.size() == 1 ? QStringLiteral("1 well copied as a table.")
                                                  : QStringLiteral("%1 wells copied as a table.").arg(mSelection.size()));
        return;
    }
    if (copyItem(mState))
        mnuEditPaste->setEnabled(true);
}

void MainWindow::mnuEditPaste_Click()
{
    // Nothing was copied since the plate was set up.
    if (!mnuEditPaste->isEnabled())
        return;
    change(QStringLiteral("Paste"), EditRecorder::Scope::Samples, {currentSample(mState)}, [this] {
        pasteItem(mState);
        fillsample(mState.topSample);
    });
}

void MainWindow::mnuEditDeleteAll_Click()
{
    if (!mSelection.empty()) {
        change(QStringLiteral("Delete All"), EditRecorder::Scope::Samples, mSelection, [this] {
            deleteAllIn(mState, mSelection);
            fillsample(mState.topSample);
        });
        return;
    }
    change(QStringLiteral("Delete All"), EditRecorder::Scope::Samples, {currentSample(mState)}, [this] {
        deleteAllItems(mState);
        fillsample(mState.topSample);
    });
}

void MainWindow::mnuEditDelete_Click()
{
    change(QStringLiteral("Delete"), EditRecorder::Scope::Samples, {currentSample(mState)}, [this] {
        deleteItem(mState);
        fillsample(mState.topSample);
    });
}

void MainWindow::mnuEditFillNum_Click(int index)
{
    fillDown(index, fillDownItem, QStringLiteral("Fill Down "));
}

void MainWindow::mnuEditFillAll_Click(int index)
{
    fillDown(index, fillDownAll, QStringLiteral("Fill Down All "));
}

// Every filled well is drawn as its own data now is: a target that kept
// its key shows it, one that held data shows it still.
void MainWindow::fillDown(int index, FillResult (*fill)(State &, int), const QString &name)
{
    const int count = fillCount(index);
    if (count == 0)
        return;
    const int source = currentSample(mState);
    std::vector<int> targets;
    for (int t = source + 1; t <= source + count && t <= mState.wellCount; ++t)
        targets.push_back(t);
    change(name + fillCaption(index), EditRecorder::Scope::Samples, std::move(targets), [this, fill, count] {
        fill(mState, count);
        fillsample(mState.topSample);
    });
}

void MainWindow::mnuInsertOP_Click(int index)
{
    if (index < 1 || index > KeyCount)
        return;
    const QString &name = mState.keyName[std::size_t(index)];
    const QString text = name.isEmpty() ? QStringLiteral("Remove Key") : QStringLiteral("Insert ") + name;
    if (!mSelection.empty()) {
        change(text, EditRecorder::Scope::Samples, mSelection, [this, index] {
            insertKeyInto(mState, mSelection, index);
            fillsample(mState.topSample);
        });
        return;
    }
    change(text, EditRecorder::Scope::Samples, {currentSample(mState)}, [this, index] {
        insertKey(mState, index);
        const int grid = std::clamp(mState.curGrid, 0, MaxFrames - 1);
        const int row = gridAt(grid)->row();
        fillsample(mState.topSample);
        gridAt(grid)->setRow(row);
    });
}

void MainWindow::mnuSetupAssign_Click()
{
    mnuSetupAssign->setChecked(!mnuSetupAssign->isChecked());
    mState.colorsOn = mnuSetupAssign->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
    fillsample(mState.topSample);
}

} // namespace Tessar

#include "mainwindow.h"

#include "core/editing/editing.h"
#include "documenthistory.h"
#include "plate/picwell.h"
#include "platform/grid.h"

#include <QGroupBox>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdlib>

// The sample grids have no editor: these handlers do all typing, straight
// into the table, and move through fields, frames and pages.

namespace Tessar {

namespace {

bool isGridIndex(int index)
{
    return index >= 0 && index < MaxFrames;
}

// Ctrl or Alt with a letter is a command, even where the desktop reports
// the letter as its text. Both together are how some keyboards type
// characters such as @, which are text.
bool isCommandStroke(Qt::KeyboardModifiers modifiers)
{
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    return control != alt || modifiers.testFlag(Qt::MetaModifier);
}

} // namespace

// Only a click makes an item current; moving with the keyboard leaves the
// item the Edit commands act on where the user last pointed.
void MainWindow::GrdID_Click(int index)
{
    if (!isGridIndex(index))
        return;
    mHistory->breakRun();
    mState.curGrid = index;
    mState.curRow = gridAt(index)->row();
}

void MainWindow::GrdID_DblClick(int index)
{
    GrdID_Click(index);
}

// The Delete key never arrives here while the grid has the focus: it is
// the shortcut of Edit > Delete this Item, which wins and clears the item
// last clicked (curGrid, curRow), key row included, like every Edit
// command. After a click that is the cell with the focus; after moving
// with Enter or the arrows it is still the clicked one, which is what
// Copy and Paste would take too. Reaching it from here (with the shortcut
// taken away) the key empties the focused cell, the key row excepted.
void MainWindow::GrdID_KeyDown(int index, int key, Qt::KeyboardModifiers modifiers)
{
    mStrokeModifiers = modifiers;
    if (!isGridIndex(index))
        return;
    const int row = gridAt(index)->row();
    switch (key) {
    case Qt::Key_Backspace:
        change(QStringLiteral("Erasing"), EditRecorder::Scope::Samples, {mState.topSample + index}, [&] {
            if (eraseLastCharacter(mState, index, row))
                commitCell(index);
        }, DocumentCommand::Erasing);
        break;
    case Qt::Key_Delete:
        change(QStringLiteral("Delete"), EditRecorder::Scope::Samples, {mState.topSample + index}, [&] {
            if (eraseCell(mState, index, row))
                commitCell(index);
        });
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        applyAdvance(index, row);
        break;
    case Qt::Key_PageUp:
        scrollRefresh(scrolledTop(mState, ScrollKey::PageUp));
        break;
    case Qt::Key_PageDown:
        scrollRefresh(scrolledTop(mState, ScrollKey::PageDown));
        break;
    case Qt::Key_Home:
        scrollRefresh(scrolledTop(mState, ScrollKey::Home));
        break;
    case Qt::Key_End:
        scrollRefresh(scrolledTop(mState, ScrollKey::End));
        break;
    default:
        break;
    }
}

void MainWindow::GrdID_KeyPress(int index, QChar character)
{
    if (!isGridIndex(index))
        return;
    Grid *grid = gridAt(index);
    if (grid->row() == 0)
        return;
    // Ctrl+Enter lines the next grid's row up with this one; the last grid
    // has no next one.
    if (character == u'\n') {
        const int next = lineFeedPartner(index);
        if (next >= 0)
            grid->setRow(gridAt(next)->row());
        return;
    }
    if (isCommandStroke(mStrokeModifiers))
        return;
    change(QStringLiteral("Typing"), EditRecorder::Scope::Samples, {mState.topSample + index}, [&] {
        if (typeCharacter(mState, index, grid->row(), character))
            commitCell(index);
    }, DocumentCommand::Typing);
}

// The table already holds the edit; the cell shows what the table holds.
void MainWindow::commitCell(int index)
{
    Grid *grid = gridAt(index);
    const int s = mState.topSample + index;
    const int row = grid->row();
    if (mState.sampleTable.contains(s, row))
        grid->setText(mState.sampleTable(s, row));
}

void MainWindow::applyAdvance(int index, int row)
{
    mHistory->breakRun();
    const Advance next = advance(mState, index, row);
    if (!isGridIndex(next.frame))
        return;
    if (next.refill) {
        mState.topSample = next.topSample;
        fillsample(mState.topSample);
    }
    Grid *grid = gridAt(next.frame);
    grid->setRow(next.row);
    if (next.moveFocus)
        grid->setFocus(Qt::OtherFocusReason);
}

void MainWindow::scrollRefresh(int top)
{
    mHistory->breakRun();
    mState.topSample = top;
    fillsample(mState.topSample);
    vsb->setValue(mState.topSample);
}

// The map and the frames, down to the grids' cells: wherever the user
// looks at the samples, the wheel scrolls them.
bool MainWindow::scrollsSamples(const QObject *watched) const
{
    if (watched == mPicWell || watched == fraMain)
        return true;
    for (std::size_t i = 0; i < GrdID.size(); ++i) {
        if (watched == fraSample[i] || (GrdID[i] && (watched == GrdID[i] || watched == GrdID[i]->viewport())))
            return true;
    }
    return false;
}

// One sample a notch, as the scroll bar's arrows move it.
void MainWindow::scrollByWheel(QWheelEvent *event)
{
    event->accept();
    const QPoint delta = event->angleDelta();
    if (std::abs(delta.x()) > std::abs(delta.y()))
        return;
    const int steps = mWheelSteps.add(delta.y());
    if (steps != 0)
        vsb->setValue(vsb->value() - steps * vsb->singleStep());
}

} // namespace Tessar

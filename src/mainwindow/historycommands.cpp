#include "mainwindow.h"

#include "documenthistory.h"
#include "platform/grid.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>

// The one road every change to the document takes, and the way back:
// Undo and Redo show the changed samples and bring the map up to date.

namespace Tessar {

bool MainWindow::change(const QString &text, EditRecorder::Scope scope, std::vector<int> samples,
                        const std::function<void()> &body, DocumentCommand::Merge merge)
{
    const bool replaces = scope == EditRecorder::Scope::Document;
    const WindowFace before = face();
    const EditRecorder recorder(mState, scope, std::move(samples));
    body();
    DocumentEdit edit = recorder.finish(mState);

    std::optional<std::pair<WindowFace, WindowFace>> faces;
    if (replaces) {
        const WindowFace after = face();
        mDescriptionShown = after.description;
        if (sameDocument(edit.document->first, edit.document->second) && before == after)
            return false;
        faces = std::make_pair(before, after);
        // One document replacing the next: the two steps share its cells.
        if (edit.document->first.cells == mLastPackedCells)
            edit.document->first.cells = mLastPackedCells;
        mLastPackedCells = edit.document->second.cells;
    } else if (edit.isEmpty()) {
        return false;
    }
    // The map shows every changed well as its data now is.
    redrawWells(edit.samples());
    if (merge == DocumentCommand::NoMerge)
        mHistory->breakRun();
    mHistory->push(new DocumentCommand(mState, text, std::move(edit), std::move(faces), merge, mHistory->run(),
                                       [this](const DocumentEdit &step, bool undone, const std::optional<WindowFace> &f) {
                                           showStep(step, undone, f);
                                       }));
    return true;
}

bool MainWindow::isModified() const
{
    return mHistory->isModified();
}

WindowFace MainWindow::face() const
{
    return {LblFilename->text(), mnuFileSave->isEnabled(), TxtFileDesc->text()};
}

void MainWindow::applyFace(const WindowFace &face)
{
    LblFilename->setText(face.filenameLabel);
    mnuFileSave->setEnabled(face.saveEnabled);
    mDescriptionShown = face.description;
    if (TxtFileDesc->text() != face.description)
        TxtFileDesc->setText(face.description);
}

void MainWindow::showStep(const DocumentEdit &edit, bool undone, const std::optional<WindowFace> &face)
{
    Q_UNUSED(undone);
    if (face)
        applyFace(*face);
    if (edit.document || edit.configuration) {
        LblCompany->setText(mState.company);
        nameInsertEntries();
        sizeform();
        if (edit.document) {
            focusFirstSample();
            return;
        }
    }
    if (edit.cells.empty())
        return;

    // The first changed cell becomes the current item, in view.
    const CellChange &first = edit.cells.front();
    const int lastTop = std::max(mState.wellCount, 1);
    const int shown = std::max(mState.nFrames, 1);
    if (first.sample < mState.topSample || first.sample >= mState.topSample + shown)
        mState.topSample = std::clamp(first.sample, 1, lastTop);
    mState.curGrid = std::clamp(first.sample - mState.topSample, 0, MaxFrames - 1);
    if (first.field < mState.fieldCount())
        mState.curRow = first.field;
    const bool gridHadFocus = qobject_cast<Grid *>(QApplication::focusWidget()) != nullptr;
    fillsample(mState.topSample);
    Grid *grid = gridAt(mState.curGrid);
    grid->setRow(mState.curRow);
    if (gridHadFocus && grid->isVisible())
        grid->setFocus(Qt::OtherFocusReason);
    redrawWells(edit.samples());
}

void MainWindow::redrawWells(const std::vector<int> &samples)
{
    for (const int s : samples)
        fillcell(s, SampleHasData(mState, s) ? 1 : 0);
}

// The description box is part of the document: each run of editing in it
// is a step of its own.
void MainWindow::descriptionEdited(const QString &text)
{
    WindowFace before = face();
    before.description = mDescriptionShown;
    mDescriptionShown = text;
    if (before.description == text)
        return;
    mHistory->push(new DocumentCommand(mState, QStringLiteral("Description"), DocumentEdit(),
                                       std::make_pair(before, face()), DocumentCommand::Describing, mHistory->run(),
                                       [this](const DocumentEdit &step, bool undone, const std::optional<WindowFace> &f) {
                                           showStep(step, undone, f);
                                       }));
}

} // namespace Tessar

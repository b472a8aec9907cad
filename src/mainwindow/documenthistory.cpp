#include "documenthistory.h"

#include "documentcommand.h"

#include <QAction>

namespace Tessar {

DocumentHistory::DocumentHistory(QObject *parent)
    : QObject(parent)
{
    mUndoAction = new QAction(this);
    mUndoAction->setObjectName(QStringLiteral("mnuEditUndo"));
    mUndoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    connect(mUndoAction, &QAction::triggered, this, &DocumentHistory::undo);

    mRedoAction = new QAction(this);
    mRedoAction->setObjectName(QStringLiteral("mnuEditRedo"));
    mRedoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(mRedoAction, &QAction::triggered, this, &DocumentHistory::redo);

    connect(&mStack, &QUndoStack::indexChanged, this, [this] {
        updateActions();
        const bool modified = !mStack.isClean();
        if (modified != mModified) {
            mModified = modified;
            emit modifiedChanged(modified);
        }
    });
    connect(&mStack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (mModified == clean) {
            mModified = !clean;
            emit modifiedChanged(mModified);
        }
    });
    updateActions();
}

DocumentHistory::~DocumentHistory()
{
    // The stack empties itself on the way out, which is no change of the
    // document: unsaved samples must not be let go of for it.
    mStack.blockSignals(true);
}

void DocumentHistory::push(DocumentCommand *command)
{
    const bool replaces = command->replacesDocument();
    mStack.push(command);
    // A step that merged into the one before it is gone already.
    if (replaces || mStack.index() - mFloor > MaxSteps)
        letGoOfOldSteps();
    updateActions();
    emit changed();
}

void DocumentHistory::undo()
{
    if (!canUndo())
        return;
    ++mRun;
    mStack.undo();
    emit changed();
}

void DocumentHistory::redo()
{
    if (!canRedo())
        return;
    ++mRun;
    mStack.redo();
    emit changed();
}

bool DocumentHistory::canUndo() const
{
    return mStack.index() > mFloor;
}

bool DocumentHistory::canRedo() const
{
    return mStack.canRedo();
}

QString DocumentHistory::undoText() const
{
    return canUndo() ? mStack.undoText() : QString();
}

QString DocumentHistory::redoText() const
{
    return mStack.redoText();
}

void DocumentHistory::markSaved()
{
    mStack.setClean();
    ++mRun;
}

void DocumentHistory::startHere()
{
    for (int i = mFloor; i < mStack.index(); ++i) {
        if (DocumentCommand *command = commandAt(i))
            command->release();
    }
    mFloor = mStack.index();
    updateActions();
    emit changed();
}

bool DocumentHistory::isModified() const
{
    return !mStack.isClean();
}

qsizetype DocumentHistory::size() const
{
    qsizetype bytes = 0;
    for (int i = 0; i < mStack.count(); ++i) {
        if (const DocumentCommand *command = commandAt(i))
            bytes += command->size();
    }
    return bytes;
}

DocumentCommand *DocumentHistory::commandAt(int index) const
{
    // Every step on the stack is one this history made, and none is const.
    return const_cast<DocumentCommand *>(dynamic_cast<const DocumentCommand *>(mStack.command(index)));
}

// Counts back from the newest step; the oldest ones beyond either bound can
// no longer be undone and give their memory back.
void DocumentHistory::letGoOfOldSteps()
{
    int floor = std::max(mFloor, mStack.index() - MaxSteps);
    int replaced = 0;
    for (int i = mStack.index() - 1; i >= floor; --i) {
        const DocumentCommand *command = commandAt(i);
        if (command && command->replacesDocument() && ++replaced > MaxReplacedDocuments) {
            floor = i + 1;
            break;
        }
    }
    for (int i = mFloor; i < floor; ++i) {
        if (DocumentCommand *command = commandAt(i))
            command->release();
    }
    mFloor = floor;
}

void DocumentHistory::updateActions()
{
    // A key name may hold an ampersand; in a menu it must show as one.
    const auto entry = [](const QString &text) { return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")); };
    const bool undo = canUndo();
    mUndoAction->setEnabled(undo);
    mUndoAction->setText(undo ? QStringLiteral("&Undo ") + entry(mStack.undoText()) : QStringLiteral("&Undo"));
    const bool redo = canRedo();
    mRedoAction->setEnabled(redo);
    mRedoAction->setText(redo ? QStringLiteral("&Redo ") + entry(mStack.redoText()) : QStringLiteral("&Redo"));
}

} // namespace Tessar

#pragma once

#include <QObject>
#include <QUndoStack>

class QAction;

namespace Tessar {

class DocumentCommand;

// The session's undo history of the document, with its Edit menu entries.
//
// Its memory is bounded: only the last MaxReplacedDocuments steps that
// replaced the whole document (New, Open, Well Size, a file from the
// desktop, Recover) and the last MaxSteps steps of any kind can be undone;
// what lies further back is let go. It also knows whether the document
// still matches its file: every step since the last Open or Save makes a
// difference until it is undone.
class DocumentHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxReplacedDocuments = 50;
    static constexpr int MaxSteps = 5000;

    explicit DocumentHistory(QObject *parent = nullptr);
    ~DocumentHistory() override;

    // Takes a step that has already been done.
    void push(DocumentCommand *command);

    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;
    QString undoText() const;
    QString redoText() const;

    // The document now matches its file (it was opened or saved).
    void markSaved();
    // The document as it now is becomes the oldest one Undo goes back to:
    // the first of the run, such as a file the program was started with.
    void startHere();
    // No step has been taken yet in this run.
    bool isUntouched() const { return mStack.index() == mFloor && !mStack.canRedo(); }
    bool isModified() const;

    // Ends a run of typing: the next character starts a step of its own.
    void breakRun() { ++mRun; }
    int run() const { return mRun; }

    // Bytes the reachable steps hold.
    qsizetype size() const;

    // Edit > Undo and Edit > Redo, kept named and enabled.
    QAction *undoAction() const { return mUndoAction; }
    QAction *redoAction() const { return mRedoAction; }

    const QUndoStack &stack() const { return mStack; }

signals:
    // Whether the document differs from its file changed.
    void modifiedChanged(bool modified);
    // A step was pushed, undone or redone.
    void changed();

private:
    DocumentCommand *commandAt(int index) const;
    void letGoOfOldSteps();
    void updateActions();

    QUndoStack mStack;
    QAction *mUndoAction = nullptr;
    QAction *mRedoAction = nullptr;
    int mFloor = 0;          // steps below this index can no longer be undone
    int mRun = 0;
    bool mModified = false;
};

} // namespace Tessar

#pragma once

#include "core/editing/editstep.h"

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <optional>

namespace Tessar {

// What the window shows of a document beyond the state: the file name line
// (its wording differs by the command that set it), whether Save is on, and
// the description box, whose text becomes the description at the next Save.
struct WindowFace
{
    QString filenameLabel;
    bool saveEnabled = true;
    QString description;

    bool operator==(const WindowFace &) const = default;
};

// One step of the document's history. The command has already run when it
// is pushed: the first redo does nothing, later ones apply the change again.
class DocumentCommand : public QUndoCommand
{
public:
    // How runs of small edits merge into one step.
    enum Merge {
        NoMerge = -1,
        Typing = 1,       // characters typed into one cell
        Erasing,          // Backspace in one cell
        Describing,       // the description box
    };

    // Shows an applied step: the edit, whether it was undone, and the face
    // the window takes (for steps that change it).
    using Show = std::function<void(const DocumentEdit &, bool undone, const std::optional<WindowFace> &)>;

    DocumentCommand(State &state, const QString &text, DocumentEdit edit,
                    std::optional<std::pair<WindowFace, WindowFace>> face, Merge merge, int run, Show show);

    void undo() override;
    void redo() override;
    int id() const override { return mMerge; }
    bool mergeWith(const QUndoCommand *other) override;

    // Whether this step replaced the whole document.
    bool replacesDocument() const { return mEdit.document.has_value(); }
    qsizetype size() const;
    // Frees what the step holds once it can no longer be reached.
    void release();

private:
    State &mState;
    DocumentEdit mEdit;
    std::optional<std::pair<WindowFace, WindowFace>> mFace;   // before, after
    Merge mMerge;
    int mRun;
    Show mShow;
    bool mFirstRedo = true;
};

} // namespace Tessar

#include "documentcommand.h"

namespace Tessar {

DocumentCommand::DocumentCommand(State &state, const QString &text, DocumentEdit edit,
                                 std::optional<std::pair<WindowFace, WindowFace>> face, Merge merge, int run,
                                 Show show)
    : QUndoCommand(text)
    , mState(state)
    , mEdit(std::move(edit))
    , mFace(std::move(face))
    , mMerge(merge)
    , mRun(run)
    , mShow(std::move(show))
{
}

void DocumentCommand::undo()
{
    mEdit.undo(mState);
    if (mShow)
        mShow(mEdit, true, mFace ? std::optional(mFace->first) : std::nullopt);
}

void DocumentCommand::redo()
{
    // Pushing a step that has just been done must not do it twice.
    if (mFirstRedo) {
        mFirstRedo = false;
        return;
    }
    mEdit.redo(mState);
    if (mShow)
        mShow(mEdit, false, mFace ? std::optional(mFace->second) : std::nullopt);
}

bool DocumentCommand::mergeWith(const QUndoCommand *other)
{
    const auto *later = dynamic_cast<const DocumentCommand *>(other);
    if (!later || later->mMerge != mMerge || mMerge == NoMerge || later->mRun != mRun)
        return false;
    // A run of typing stays in the cell it began in.
    if (mMerge != Describing) {
        if (mEdit.cells.size() > 1 || later->mEdit.cells.size() != 1)
            return false;
        if (!mEdit.cells.empty()
            && (mEdit.cells.front().sample != later->mEdit.cells.front().sample
                || mEdit.cells.front().field != later->mEdit.cells.front().field))
            return false;
    }
    if (!mEdit.absorb(later->mEdit))
        return false;
    if (later->mFace) {
        if (mFace)
            mFace->second = later->mFace->second;
        else
            mFace = later->mFace;
    }
    // Typed and erased back to where it began: nothing left to undo.
    setObsolete(mEdit.isEmpty() && (!mFace || mFace->first == mFace->second));
    return true;
}

qsizetype DocumentCommand::size() const
{
    qsizetype bytes = qsizetype(sizeof(DocumentCommand)) + mEdit.size();
    if (mFace)
        bytes += 2 * (mFace->first.filenameLabel.capacity() + mFace->first.description.capacity()) * 2;
    return bytes;
}

void DocumentCommand::release()
{
    mEdit = DocumentEdit();
    mFace.reset();
    mMerge = NoMerge;
    mShow = nullptr;
}

} // namespace Tessar

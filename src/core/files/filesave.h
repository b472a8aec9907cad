#pragma once

#include <QByteArray>
#include <QString>

namespace Tessar {

// How saving a file ended.
struct FileSaveResult
{
    enum Method {
        Replaced,   // a new file took the old one's place in one step
        InPlace,    // the file itself was written over
    };

    bool ok = true;
    Method method = Replaced;
    QString error;
    // When writing in place failed after the file was opened: where the copy
    // of the file as it was before is. Empty otherwise (a save that
    // succeeds removes its copy again).
    QString keptCopy;
};

// Writes `bytes` as the file at `path` (a symbolic link is followed).
//
// The file is replaced in one step wherever that keeps everything others
// rely on: a new file, or one with a single link, in a folder we may write
// to, whose owner, group, access list and user attributes the new file can
// take over. Then a failure
// leaves the old file exactly as it was. Otherwise (a shared file in a
// folder we cannot write to, a hard-linked file, a file owned by someone
// else) the file is written over in place, so its owner, group and links
// stay; a copy of it is first kept in `copyFolder`, so a failed write still
// loses nothing, and the copy is removed once the write succeeded. The
// mode bits are kept either way.
FileSaveResult saveFile(const QString &path, const QByteArray &bytes, const QString &copyFolder);

} // namespace Tessar

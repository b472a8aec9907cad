#pragma once

#include <QString>

namespace Tessar {

// The folder that holds copies of files taken before they were written
// over: $XDG_CACHE_HOME/Corvant/Tessar (normally ~/.cache/Corvant/Tessar).
QString keptCopyFolder();

// Copies the regular file at `path` into `folder` (made when missing) under
// a name of its own: the file's name with the date and time in it, and a
// number when that name is taken already. The copy is the user's alone
// (mode 0600) and is on disk when this returns. Returns the copy's path, or
// an empty string with `error` set; nothing is left behind on failure.
QString keepCopy(const QString &path, const QString &folder, QString *error = nullptr);

} // namespace Tessar

#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace Tessar {

// Unsaved samples outlive the program in recovery files: plain sample
// files in the user's state folder, $XDG_STATE_HOME/Corvant/Tessar
// (normally ~/.local/state/Corvant/Tessar), each with a note of the file
// the samples came from and when they were written. The same folder keeps
// a copy of a damaged file before it is first saved over.

QString recoveryFolder();

// A name for this run's recovery file; nothing is created.
QString newRecoveryFilePath();

struct RecoveryFile
{
    QString path;           // the sample file itself
    QString originalPath;   // the document's file, or empty when it had none
    QDateTime written;
};

// Writes `bytes` (a whole sample file) to `path` in one step, and the note
// beside it. False with the reason when either could not be written.
bool writeRecoveryFile(const QString &path, const QByteArray &bytes, const QString &originalPath,
                       QString *error = nullptr);

// The recovery files in the folder, newest first, but `except`.
QList<RecoveryFile> recoveryFiles(const QString &except = QString());

// Removes a recovery file and its note.
void removeRecoveryFile(const QString &path);

// Copies `file` into the recovery folder under a name that says what it is
// and when it was kept. Returns the copy's path, or empty with the reason.
QString keepCopyInRecoveryFolder(const QString &file, QString *error = nullptr);

} // namespace Tessar

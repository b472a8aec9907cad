#pragma once

#include "platform/commondialogs.h"

namespace Tessar {

struct State;

// Where the file dialogs of the exports and the import start: beside the
// document's file, or in the profile folder for a document never saved.
QString documentFolder(const State &state);

// A save dialog for an export to a file of its own kind: beside the
// document, named after it with `extension`, and asking before it replaces
// a file (an export is no document that belongs there already).
CommonDialogs::FileRequest exportRequest(const State &state, const QString &title, const QString &filter,
                                         const QString &extension);

} // namespace Tessar

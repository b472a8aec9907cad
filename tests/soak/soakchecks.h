#pragma once

#include <QByteArray>
#include <QString>

namespace Tessar {
class MainWindow;
struct State;
}

// What must hold after every action, whatever the action was.
namespace SoakChecks {

// The document model keeps the invariants State documents.
QString model(const Tessar::State &state);

// The window shows the document: the frames, their captions and cells,
// the scroll bar, the menus named after the keys, and every well of the
// map as its data says, in what the map drew and in the image itself.
QString window(const Tessar::State &state, Tessar::MainWindow &window);

// The document as a fingerprint for comparing with one seen before: the
// file Save would write (with the description as the box shows it), the
// configuration beyond it, and every cell of the table, in use or not.
QByteArray fingerprint(const Tessar::State &state, const QString &description);

// A sample file as written reads back to the same document: writing what
// was read gives the same bytes. Empty when it does, else why not.
QString readsBack(const Tessar::State &state, const QByteArray &bytes);

} // namespace SoakChecks

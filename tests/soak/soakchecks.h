#pragma once

#include <QByteArray>
#include <QString>

class WindowDriver;
namespace Tessar {
struct State;
}

// What must hold after every action, whatever the action was. Each
// returns why not, or nothing.
namespace SoakChecks {

// The document keeps the invariants a read of any file keeps, with the
// current item inside the table; and the window shows it: the frames, their
// captions and cells, the scroll bar, the menus named after the keys, and
// every well of the map as its data says, in what the map drew and in the
// image itself.
QString check(const WindowDriver &driver);

// The document as a fingerprint for comparing with one seen before: the
// file Save would write (with the description as the box shows it), every
// caption and every cell of the table, in use or not.
QByteArray fingerprint(const WindowDriver &driver);

// The bytes of a saved file read back to a document that writes the same bytes.
QString readsBack(const Tessar::State &state, const QByteArray &bytes);

} // namespace SoakChecks

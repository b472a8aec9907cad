#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QObject;

namespace Tessar {

// The local socket by which a later start hands over to the running copy.
// It is built as a module of its own and loaded only when a hand-over
// needs it: linked into the program, the network library and what it pulls
// in would be loaded by every start, before its window could show.
class HandOverChannel
{
public:
    virtual ~HandOverChannel() = default;

    // Sends one line to whoever listens at `name`; false when nobody does.
    virtual bool knock(const QString &name, const QByteArray &line) = 0;

    // Listens at `name`, in place of a socket left there by a copy that
    // ended without closing it, and passes every line a later start sends
    // to `heard`. The listener is made a child of `owner`; null when nothing
    // can listen at `name`.
    virtual QObject *listen(const QString &name, QObject *owner,
                            std::function<void(const QByteArray &)> heard) = 0;
};

// What the module exports: a function, of this name, that returns its one channel.
inline constexpr char HandOverChannelEntryName[] = "tessarHandOverChannel";
inline constexpr char HandOverModuleName[] = "tessar-handover.so";

// The longest line either end sends or reads: room for the longest path the
// system allows.
inline constexpr qint64 MaxKnockBytes = 8192;

} // namespace Tessar

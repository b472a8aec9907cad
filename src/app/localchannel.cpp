// The hand-over module: the running copy's local socket, and a later
// start's knock at it.

#include "app/handoverchannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace Tessar {

namespace {

// A running copy answers in microseconds; these only bound the wait when
// something is badly wrong, so a start never hangs.
constexpr int ConnectWaitMs = 1000;
constexpr int KnockWaitMs = 5000;

class LocalChannel final : public HandOverChannel
{
public:
    bool knock(const QString &name, const QByteArray &line) override
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(ConnectWaitMs))
            return false;
        socket.write(line);
        socket.waitForBytesWritten(ConnectWaitMs);
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState)
            socket.waitForDisconnected(ConnectWaitMs);
        return true;
    }

    QObject *listen(const QString &name, QObject *owner,
                    std::function<void(const QByteArray &)> heard) override
    {
        auto *server = new QLocalServer(owner);
        // Whatever the umask: nobody but this user may knock.
        server->setSocketOptions(QLocalServer::UserAccessOption);
        QObject::connect(server, &QLocalServer::newConnection, server,
                         [server, heard = std::move(heard)] { acceptKnocks(*server, heard); });
        if (server->listen(name))
            return server;
        // The caller holds the running copy's lock, so a socket file found
        // here was left by a copy that ended without closing it.
        QLocalServer::removeServer(name);
        if (server->listen(name))
            return server;
        delete server;
        return nullptr;
    }

private:
    static void acceptKnocks(QLocalServer &server, const std::function<void(const QByteArray &)> &heard)
    {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [socket, heard] { readKnock(*socket, heard); });
            // A peer that connects and says nothing is not kept forever.
            QTimer::singleShot(KnockWaitMs, socket, &QObject::deleteLater);
            readKnock(*socket, heard);
        }
    }

    static void readKnock(QLocalSocket &socket, const std::function<void(const QByteArray &)> &heard)
    {
        if (!socket.canReadLine()) {
            if (socket.bytesAvailable() > MaxKnockBytes)
                socket.abort();
            return;
        }
        const QByteArray line = socket.readLine(MaxKnockBytes + 1);
        socket.disconnectFromServer();
        heard(line);
    }
};

} // namespace

} // namespace Tessar

extern "C" Q_DECL_EXPORT Tessar::HandOverChannel *tessarHandOverChannel()
{
    static Tessar::LocalChannel channel;
    return &channel;
}

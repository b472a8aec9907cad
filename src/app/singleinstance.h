#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace Tessar {

// Keeps one running copy of the program per user. The first copy listens on
// a local socket; a later start finds it there, asks it to come to the
// front and then ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);
    // For tests: a name of their own so they never meet a real running copy.
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // False when another copy already runs: it has been asked to show itself
    // (and to open fileToOpen, when one is given) and the caller should end
    // at once. True when this copy is the first; it then listens for later
    // starts.
    bool start(const QString &fileToOpen = QString());

    // Where the socket lives (a full path) and the lock that guards it.
    QString serverName() const { return m_serverName; }
    QString lockFileName() const { return m_serverName + QStringLiteral(".lock"); }

    // The name used when none is given: one per user.
    static QString defaultName();

signals:
    void activationRequested();
    // A later start was given this file (an absolute path) to open.
    void openRequested(const QString &path);

private:
    bool knockAtRunningCopy(const QString &fileToOpen);
    void listen();
    void acceptKnocks();
    void readKnock(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server = nullptr;
};

} // namespace Tessar

#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace Tessar {

class RunningCopyLock;

// Keeps one running copy of the program per user. The first copy holds a
// lock for as long as it runs and listens on a local socket; a later start
// finds the lock taken, knocks at the socket, asks the copy there to come to
// the front and then ends.
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
    // at once. True when this copy is the first, or cannot reach the one
    // that runs.
    bool start(const QString &fileToOpen = QString());

    // Begins answering later starts, which wait for it. Kept apart from
    // start() so that the first copy can put it off until its window shows.
    void listen();

    // Where the socket lives (a full path) and the lock that guards it;
    // empty when no safe place for it was found (problem() says why).
    QString serverName() const { return m_serverName; }
    QString lockFileName() const { return m_serverName + QStringLiteral(".lock"); }

    // The name used when none is given: one per user.
    static QString defaultName();
    QString problem() const { return m_problem; }

signals:
    void activationRequested();
    // A later start was given this file (an absolute path) to open.
    void openRequested(const QString &path);

private:
    void heard(const QByteArray &line);

    QString m_serverName;
    QString m_problem;
    std::unique_ptr<RunningCopyLock> m_lock;
    QObject *m_server = nullptr;
};

} // namespace Tessar

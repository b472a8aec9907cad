#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <mutex>
#include <thread>

namespace Tessar {

// Keeps this run's recovery file current while the document holds unsaved
// changes. The file is written a moment after a change, on a thread of its
// own, so typing never waits for the disk; a burst of changes is written
// once, and never later than Delay after the first of them.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr int Delay = 2000;   // ms

    struct Snapshot
    {
        QByteArray bytes;       // the document as a sample file
        QString originalPath;   // the document's own file, if it has one
    };

    // `take` turns the document into a snapshot; it runs on the window's thread.
    RecoveryKeeper(QString path, std::function<Snapshot()> take, QObject *parent = nullptr);
    ~RecoveryKeeper() override;

    QString path() const { return mPath; }

    // The document changed and is not saved.
    void schedule();
    // Writes the document now and waits until it is on disk.
    bool flush();
    // The document is saved or unchanged: no file is kept.
    void discard();

    // Whether this run's file is on disk now.
    bool exists() const;

signals:
    void written();

private:
    void writeInBackground();
    void join();

    QString mPath;
    std::function<Snapshot()> mTake;
    QTimer mTimer;
    std::thread mWorker;
    std::mutex mDisk;          // one write at a time, and none while removing
    bool mPending = false;     // a change came in while a write ran
};

} // namespace Tessar

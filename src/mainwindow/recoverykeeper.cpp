#include "recoverykeeper.h"

#include "core/files/recovery.h"

#include <QFile>

namespace Tessar {

RecoveryKeeper::RecoveryKeeper(QString path, std::function<Snapshot()> take, QObject *parent)
    : QObject(parent)
    , mPath(std::move(path))
    , mTake(std::move(take))
{
    mTimer.setSingleShot(true);
    mTimer.setInterval(Delay);
    connect(&mTimer, &QTimer::timeout, this, &RecoveryKeeper::writeInBackground);
}

RecoveryKeeper::~RecoveryKeeper()
{
    join();
}

void RecoveryKeeper::schedule()
{
    // Not restarted by later changes: steady typing still gets written.
    if (!mTimer.isActive())
        mTimer.start();
}

bool RecoveryKeeper::flush()
{
    mTimer.stop();
    join();
    const Snapshot snapshot = mTake();
    const std::lock_guard lock(mDisk);
    return writeRecoveryFile(mPath, snapshot.bytes, snapshot.originalPath);
}

void RecoveryKeeper::discard()
{
    mTimer.stop();
    join();
    const std::lock_guard lock(mDisk);
    removeRecoveryFile(mPath);
}

bool RecoveryKeeper::exists() const
{
    return QFile::exists(mPath);
}

void RecoveryKeeper::writeInBackground()
{
    if (mWorker.joinable()) {
        // The last write is still going: this change follows it.
        mPending = true;
        mTimer.start(100);
        return;
    }
    mPending = false;
    Snapshot snapshot = mTake();
    mWorker = std::thread([this, snapshot = std::move(snapshot)] {
        {
            const std::lock_guard lock(mDisk);
            writeRecoveryFile(mPath, snapshot.bytes, snapshot.originalPath);
        }
        QMetaObject::invokeMethod(this, [this] {
            join();
            emit written();
        }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::join()
{
    if (mWorker.joinable())
        mWorker.join();
}

} // namespace Tessar

#include "mainwindow.h"

#include "core/files/samplefile.h"
#include "documenthistory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

// A file handed over by a later start (a double-click on a .kwl while the
// program runs). It waits for any open dialog, and it never takes the
// running document away unasked.

namespace Tessar {

namespace {

// Why a file cannot be opened, or empty when it can be.
QString unreadableReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("There is no such file.");
    if (info.isDir())
        return QStringLiteral("It is a folder, not a file.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString() + QLatin1Char('.');
    const QByteArray start = file.read(64);
    if (!start.startsWith(QByteArray("\"") + FileHeader) && !start.startsWith(QByteArray("\"") + OlderFileHeader)
        && !start.startsWith(FileHeader) && !start.startsWith(OlderFileHeader))
        return QStringLiteral("It is not a Tessar sample file.");
    return QString();
}

} // namespace

void MainWindow::requestOpen(const QString &path)
{
    mPendingOpens.append(path);
    handOverPending();
}

void MainWindow::handOverPending()
{
    if (mHandingOver)
        return;
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != this) {
        // Handled once the dialog is gone, not dropped.
        if (mWatchedModal != modal) {
            if (mWatchedModal)
                mWatchedModal->removeEventFilter(this);
            mWatchedModal = modal;
            modal->installEventFilter(this);
            connect(modal, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, [this] { handOverPending(); }); });
        }
        return;
    }
    if (mWatchedModal) {
        mWatchedModal->removeEventFilter(this);
        mWatchedModal = nullptr;
    }
    mHandingOver = true;
    while (!mPendingOpens.isEmpty())
        handOver(mPendingOpens.takeFirst());
    mHandingOver = false;
}

void MainWindow::handOver(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const QString reason = unreadableReason(path);
    if (!reason.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("%1 could not be opened.\n\n%2\n\nThe samples open here are unchanged.")
                            .arg(QDir::toNativeSeparators(path), reason),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("HandOverFailed"));
        box.exec();
        return;
    }
    if (isModified()) {
        QMessageBox question(QMessageBox::Question, windowTitle(),
                             QStringLiteral("The samples open here have changes that are in no file.\n\n"
                                            "Save them before opening %1?").arg(name),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
        question.setObjectName(QStringLiteral("HandOverQuestion"));
        question.setDefaultButton(QMessageBox::Save);
        question.setEscapeButton(QMessageBox::Cancel);
        const int answer = question.exec();
        if (answer == QMessageBox::Cancel)
            return;
        if (answer == QMessageBox::Save && !save(false))
            return;
    }
    openFile(path);
}

} // namespace Tessar

#pragma once

#include "core/files/recovery.h"

#include <QDialog>

#include <optional>

class QListWidget;
class QPushButton;

namespace Tessar {

// File > Recover Unsaved Samples: the samples earlier runs left unsaved,
// newest first, each named by the file it came from and when it was
// written. One is opened, or let go of for good.
class RecoverDialog : public QDialog
{
    Q_OBJECT

public:
    RecoverDialog(const QList<RecoveryFile> &files, QWidget *parent = nullptr);

    // The file chosen to open, if any. Files deleted meanwhile are gone
    // from the folder already.
    static std::optional<RecoveryFile> run(QWidget *parent, const QList<RecoveryFile> &files);

    // "run7.kwl, written 5 Dec 2026 14:02", or "an untitled list, ...".
    static QString describe(const RecoveryFile &file);

private:
    void deleteChosen();
    void updateButtons();

    QList<RecoveryFile> mFiles;
    QListWidget *mList = nullptr;
    QPushButton *mOpen = nullptr;
    QPushButton *mDelete = nullptr;
};

} // namespace Tessar

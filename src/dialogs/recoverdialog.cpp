#include "recoverdialog.h"

#include "screencentre.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tessar {

RecoverDialog::RecoverDialog(const QList<RecoveryFile> &files, QWidget *parent)
    : QDialog(parent)
    , mFiles(files)
{
    setObjectName(QStringLiteral("RecoverDialog"));
    setWindowTitle(QStringLiteral("Recover Unsaved Samples"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("These samples were never saved when Tessar last ended. "
                                            "Open one to go on with it, then save it."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("recoverList"));
    for (const RecoveryFile &file : mFiles)
        mList->addItem(describe(file));
    mList->setCurrentRow(0);
    layout->addWidget(mList);

    auto *buttons = new QDialogButtonBox(this);
    mOpen = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::AcceptRole);
    mOpen->setObjectName(QStringLiteral("recoverOpen"));
    mDelete = buttons->addButton(QStringLiteral("&Delete"), QDialogButtonBox::DestructiveRole);
    mDelete->setObjectName(QStringLiteral("recoverDelete"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("recoverCancel"));
    layout->addWidget(buttons);

    connect(mOpen, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mDelete, &QPushButton::clicked, this, &RecoverDialog::deleteChosen);
    connect(mList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(mList, &QListWidget::currentRowChanged, this, &RecoverDialog::updateButtons);
    updateButtons();
    resize(520, 260);
}

std::optional<RecoveryFile> RecoverDialog::run(QWidget *parent, const QList<RecoveryFile> &files)
{
    RecoverDialog dialog(files, parent);
    centreOnScreen(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const int row = dialog.mList->currentRow();
    if (row < 0 || row >= dialog.mFiles.size())
        return std::nullopt;
    return dialog.mFiles.at(row);
}

QString RecoverDialog::describe(const RecoveryFile &file)
{
    const QString from = file.originalPath.isEmpty() ? QStringLiteral("An untitled list")
                                                     : QFileInfo(file.originalPath).fileName();
    return QStringLiteral("%1, written %2").arg(from, QLocale().toString(file.written, QLocale::ShortFormat));
}

void RecoverDialog::deleteChosen()
{
    const int row = mList->currentRow();
    if (row < 0 || row >= mFiles.size())
        return;
    QMessageBox question(QMessageBox::Question, windowTitle(),
                         QStringLiteral("Delete the unsaved samples of %1 for good?").arg(describe(mFiles.at(row))),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName(QStringLiteral("recoverDeleteQuestion"));
    question.setDefaultButton(QMessageBox::No);
    if (question.exec() != QMessageBox::Yes)
        return;
    removeRecoveryFile(mFiles.at(row).path);
    mFiles.removeAt(row);
    delete mList->takeItem(row);
    if (mFiles.isEmpty())
        reject();
    updateButtons();
}

void RecoverDialog::updateButtons()
{
    const bool chosen = mList->currentRow() >= 0;
    mOpen->setEnabled(chosen);
    mDelete->setEnabled(chosen);
}

} // namespace Tessar

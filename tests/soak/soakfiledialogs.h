#pragma once

#include "soakrandom.h"

#include "platform/commondialogs.h"

#include <QString>
#include <QStringList>

// Stands in for the desktop's file and printer dialogs, which would lead
// out of the soak's own folder: each request is answered at random from
// the fuzz corpus (copied into the folder first), the files the soak
// saved, and names that exist, do not exist or cannot be written; now and
// then it is cancelled. About a third of the file requests go through the
// program's own file dialog, the answer typed into it. The colour chooser
// is the program's own and is shown for real, for the answerer to work.
class SoakFileDialogs : public Tessar::CommonDialogs
{
public:
    struct Request
    {
        QString kind;   // "open", "save", "color", "printer"
        QString title;
        std::optional<QString> answer;
    };

    // `folder` holds the copies of the corpus (kwl/, table/) and the files saved (saved/).
    SoakFileDialogs(SoakRandom &random, const QString &folder);
    ~SoakFileDialogs() override;

    QList<Request> takeRequests() { return std::exchange(mRequests, {}); }

    std::optional<QString> showOpen(QWidget *parent, const FileRequest &request) override;
    std::optional<QString> showSave(QWidget *parent, const FileRequest &request) override;
    std::optional<Tessar::Colour> showColor(QWidget *parent, const QString &title, Tessar::Colour initial) override;
    std::optional<int> showPrinter(QWidget *parent, QPrinter &printer) override;

    // While the program's own file dialog is up, the path to type into it; empty to cancel it.
    static QString typedAnswer();
    // Paths a save can never write to, whoever runs the soak (root too):
    // a folder that is not there, a file taken for a folder, a folder
    // where the file should be.
    QStringList unwritablePaths(const QString &extension) const;

private:
    QStringList filesIn(const QString &subfolder, const QString &suffix = QString()) const;
    std::optional<QString> answer(QWidget *parent, const FileRequest &request, bool save, std::optional<QString> chosen);

    SoakRandom &mRandom;
    QString mFolder;
    QList<Request> mRequests;
};

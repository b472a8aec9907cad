#pragma once

#include "platform/commondialogs.h"

#include <QList>
#include <QStringList>

// Answers the common dialogs from a script and remembers which were asked.
class ScriptedDialogs : public Tessar::CommonDialogs
{
public:
    ScriptedDialogs() { setInstance(this); }
    ~ScriptedDialogs() override { setInstance(nullptr); }

    QList<std::optional<QString>> answers;   // file names taken in order; none left means cancel
    QList<Tessar::Colour> colours;           // likewise for the colour chooser
    QStringList kinds;                       // "open", "save", "color" or "printer" per request
    QList<FileRequest> requests;             // every file dialog's request, in order

    std::optional<QString> showOpen(QWidget *, const FileRequest &request) override
    {
        requests.append(request);
        return file(QStringLiteral("open"));
    }
    std::optional<QString> showSave(QWidget *, const FileRequest &request) override
    {
        requests.append(request);
        return file(QStringLiteral("save"));
    }

    std::optional<Tessar::Colour> showColor(QWidget *, const QString &, Tessar::Colour) override
    {
        kinds.append(QStringLiteral("color"));
        return colours.isEmpty() ? std::nullopt : std::optional(colours.takeFirst());
    }

    std::optional<int> showPrinter(QWidget *, QPrinter &) override
    {
        kinds.append(QStringLiteral("printer"));
        return std::nullopt;
    }

private:
    std::optional<QString> file(const QString &kind)
    {
        kinds.append(kind);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

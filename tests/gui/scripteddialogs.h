#pragma once

#include "platform/commondialogs.h"

#include <QList>
#include <QStringList>

// Answers the file dialogs from a script and remembers what was asked.
class ScriptedDialogs : public Tessar::CommonDialogs
{
public:
    ScriptedDialogs() { setInstance(this); }
    ~ScriptedDialogs() override { setInstance(nullptr); }

    QList<std::optional<QString>> answers;   // taken in order; none left means cancel
    QList<FileRequest> requests;
    QStringList kinds;                       // "open", "save", "color" or "printer", one per request
    QList<Tessar::Colour> colours;           // chosen in order; none left means cancel

    std::optional<QString> showOpen(QWidget *, const FileRequest &request) override
    {
        return answer(QStringLiteral("open"), request);
    }

    std::optional<QString> showSave(QWidget *, const FileRequest &request) override
    {
        return answer(QStringLiteral("save"), request);
    }

    std::optional<Tessar::Colour> showColor(QWidget *, const QString &, Tessar::Colour) override
    {
        kinds.append(QStringLiteral("color"));
        if (colours.isEmpty())
            return std::nullopt;
        return colours.takeFirst();
    }

    std::optional<int> showPrinter(QWidget *, QPrinter &) override
    {
        kinds.append(QStringLiteral("printer"));
        return std::nullopt;
    }

private:
    std::optional<QString> answer(const QString &kind, const FileRequest &request)
    {
        requests.append(request);
        kinds.append(kind);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

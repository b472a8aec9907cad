#pragma once

#include "platform/commondialogs.h"

#include <QList>
#include <QPrinter>
#include <QStringList>

// Answers the common dialogs from a script and remembers which were asked.
class ScriptedDialogs : public Tessar::CommonDialogs
{
public:
    ScriptedDialogs() { setInstance(this); }
    ~ScriptedDialogs() override
    {
        if (&instance() == this)
            setInstance(nullptr);
    }

    QList<std::optional<QString>> answers;   // file names taken in order; none left means cancel
    QList<std::optional<Tessar::Colour>> colours;   // likewise for the colour chooser; none: cancel
    QList<Tessar::Colour> colourInitials;           // the colour each chooser opened on
    QStringList kinds;                       // "open", "save", "color" or "printer" per request
    QList<FileRequest> requests;             // every file dialog asked for

    // The printer dialog: cancelled while printerCopies is empty, else it
    // prints that many copies of pages printFrom to printTo (0: all) to
    // the PDF file printerOutput. offeredPages is the last page it offered.
    std::optional<int> printerCopies;
    QString printerOutput;
    int printFrom = 0;
    int printTo = 0;
    int offeredPages = 0;

    std::optional<QString> showOpen(QWidget *, const FileRequest &request) override { return file(QStringLiteral("open"), request); }
    std::optional<QString> showSave(QWidget *, const FileRequest &request) override { return file(QStringLiteral("save"), request); }

    std::optional<Tessar::Colour> showColor(QWidget *, const QString &, Tessar::Colour initial) override
    {
        kinds.append(QStringLiteral("color"));
        colourInitials.append(initial);
        return colours.isEmpty() ? std::nullopt : colours.takeFirst();
    }

    std::optional<int> showPrinter(QWidget *, QPrinter &printer) override
    {
        kinds.append(QStringLiteral("printer"));
        offeredPages = printer.toPage();
        if (!printerCopies)
            return std::nullopt;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerOutput);
        if (printFrom > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(printFrom, printTo);
        }
        return printerCopies;
    }

private:
    std::optional<QString> file(const QString &kind, const FileRequest &request)
    {
        kinds.append(kind);
        requests.append(request);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

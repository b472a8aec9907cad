#pragma once

#include "platform/commondialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <vector>

namespace Tessar {

// Answers the platform dialogs as a test says and records what was asked.
struct FakeDialogs : CommonDialogs
{
    FakeDialogs() { setInstance(this); }
    ~FakeDialogs() override
    {
        if (&instance() == this)
            setInstance(nullptr);
    }

    std::optional<QString> showOpen(QWidget *, const FileRequest &) override { return std::nullopt; }
    std::optional<QString> showSave(QWidget *, const FileRequest &) override { return std::nullopt; }
    std::optional<Colour> showColor(QWidget *, const QString &, Colour initial) override
    {
        colourInitials.push_back(initial);
        if (colourAnswers.empty())
            return std::nullopt;
        const std::optional<Colour> answer = colourAnswers.front();
        colourAnswers.pop_front();
        return answer;
    }
    std::optional<int> showPrinter(QWidget *, QPrinter &printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerOutput);
        return printerCopies;
    }

    std::deque<std::optional<Colour>> colourAnswers;   // nullopt: cancelled
    std::vector<Colour> colourInitials;
    std::optional<int> printerCopies;                  // nullopt: cancelled
    QString printerOutput;
};

// Closes every message box that opens while it lives with `answer`.
struct MessageBoxAnswerer : QObject
{
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer)
    {
        connect(&timer, &QTimer::timeout, this, [this, answer] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                    asked << box->windowTitle() + (box->defaultButton() == box->button(QMessageBox::Ok) ? " [OK]" : "");
                    if (QAbstractButton *button = box->button(answer))
                        button->click();
                    else
                        box->reject();
                }
            }
        });
        timer.start(10);
    }

    QStringList asked;   // titles, " [OK]" when OK was the default
    QTimer timer;
};

} // namespace Tessar

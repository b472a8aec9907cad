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
class FakeDialogs : public CommonDialogs
{
public:
    FakeDialogs() { setInstance(this); }
    ~FakeDialogs() override
    {
        if (&instance() == this)
            setInstance(nullptr);
    }

    std::optional<QString> showOpen(QWidget *, const FileRequest &) override { return std::nullopt; }
    std::optional<QString> showSave(QWidget *, const FileRequest &) override { return std::nullopt; }

    std::optional<Colour> showColor(QWidget *, const QString &title, Colour initial) override
    {
        colourTitle = title;
        colourInitials.push_back(initial);
        std::optional<Colour> answer;
        if (!colourAnswers.empty()) {
            answer = colourAnswers.front();
            colourAnswers.pop_front();
        }
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
    QString colourTitle;
    std::optional<int> printerCopies;                  // nullopt: cancelled
    QString printerOutput;
};

// Answers every message box that opens while it lives, and keeps the last one's texts.
class MessageBoxAnswerer : public QObject
{
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer)
    {
        connect(&mTimer, &QTimer::timeout, this, [this, answer] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (!box || !box->isVisible())
                    continue;
                ++seen;
                title = box->windowTitle();
                text = box->text();
                questionWithOkDefault = box->icon() == QMessageBox::Question
                                        && box->defaultButton() == box->button(QMessageBox::Ok);
                box->button(answer)->click();
            }
        });
        mTimer.start(10);
    }

    int seen = 0;
    QString title;
    QString text;
    bool questionWithOkDefault = false;

private:
    QTimer mTimer;
};

} // namespace Tessar

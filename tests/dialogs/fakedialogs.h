#pragma once

#include "../gui/scripteddialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace Tessar {

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

#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

// Counts the paints a widget gets, for the tests and the benchmarks that
// must know a change was really drawn, and drawn once.
class PaintCount : public QObject
{
public:
    explicit PaintCount(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

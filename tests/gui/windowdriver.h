#pragma once

#include "scripteddialogs.h"

#include "core/document.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/colour.h"
#include "platform/grid.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>

// Starts the real main window on a first-run configuration and drives it
// the way a user does: clicks, keys, and answers to its modal dialogs.
class WindowDriver
{
public:
    Tessar::State state;
    std::unique_ptr<Tessar::MainWindow> window;
    std::unique_ptr<ScriptedDialogs> dialogs;

    void start(QSize size = QSize(900, 700))
    {
        stop();
        QFile::remove(Tessar::settingsFilePath());
        dialogs = std::make_unique<ScriptedDialogs>();
        state = Tessar::State();
        Tessar::applyFirstRunDefaults(state);
        window = std::make_unique<Tessar::MainWindow>(state);
        QSettings store(Tessar::settingsFilePath(), QSettings::IniFormat);
        window->loadSettings(store);
        window->resize(size);
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window never showed");
        QCoreApplication::processEvents();
    }

    void stop()
    {
        mAnswers.clear();
        mWatch.reset();
        window.reset();
        dialogs.reset();
    }

    template<typename T>
    T *child(const QString &name) const
    {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    void run(const QString &command) const { child<QAction>(command)->trigger(); }
    Tessar::Grid *grid(int frame) const { return child<Tessar::Grid>(QStringLiteral("GrdID%1").arg(frame)); }
    QString caption(int frame) const { return child<QGroupBox>(QStringLiteral("fraSample%1").arg(frame))->title(); }
    QScrollBar *scrollBar() const { return child<QScrollBar>(QStringLiteral("vsb")); }
    QString status() const { return child<QLabel>(QStringLiteral("StatusBar"))->text(); }
    Tessar::PicWell *picture() const { return window->findChild<Tessar::PicWell *>(); }

    // A click on the value of row `row` in a frame's grid.
    void clickCell(int frame, int row) const
    {
        Tessar::Grid *g = grid(frame);
        const QRect cell = g->visualItemRect(g->item(row, 1));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Scrolls so `sample` heads the frames and clicks one of its rows.
    void selectItem(int sample, int row) const
    {
        scrollBar()->setValue(sample);
        clickCell(0, row);
    }

    // A stored colour as the plate image holds it.
    QColor opaque(Tessar::Colour colour) const { return QColor(Tessar::toQColor(colour, picture()->palette()).rgb()); }
    QColor background() const { return picture()->backColor(); }
    QColor well(int s) const { return window->plateMap().pixelOf(s); }

    // Answers the next modal dialog with this object name when it shows.
    // Answers are given in the order they were queued.
    void whenModal(const QString &name, std::function<void(QWidget *)> answer)
    {
        mAnswers.append({name, std::move(answer)});
        if (mWatch)
            return;
        mWatch = std::make_unique<QTimer>();
        mWatch->setInterval(5);
        QObject::connect(mWatch.get(), &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (mAnswers.isEmpty() || !modal || !modal->isVisible() || modal->objectName() != mAnswers.first().first)
                return;
            const auto answer = mAnswers.takeFirst().second;
            answer(modal);
        });
        mWatch->start();
    }

    int unanswered() const { return int(mAnswers.size()); }

private:
    QList<std::pair<QString, std::function<void(QWidget *)>>> mAnswers;
    std::unique_ptr<QTimer> mWatch;
};

#pragma once

#include "scripteddialogs.h"
#include "userinput.h"
#include "../testfiles.h"

#include "core/document/document.h"
#include "core/document/settings.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/colour.h"
#include "platform/grid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

// Runs the real main window and drives it the way a user does.
// A button pressed as a user does, with the mouse, so that a disabled or
// hidden button fails the test instead of answering it.
inline void clickButton(QAbstractButton *button)
{
    QVERIFY(button);
    QVERIFY(button->isVisible() && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

class WindowDriver
{
public:
    Tessar::State state;
    std::unique_ptr<Tessar::MainWindow> window;
    std::unique_ptr<ScriptedDialogs> dialogs;
    QTemporaryDir dir;   // the user's files, for as long as the driver lives

    QString path(const QString &name) const { return dir.filePath(name); }

    // A first run, or with `fresh` false a run on the settings the last one
    // left; an empty size keeps the size the settings give.
    void start(QSize size = QSize(900, 700), bool fresh = true)
    {
        stop();
        if (fresh)
            QFile::remove(Tessar::settingsFilePath());
        dialogs = std::make_unique<ScriptedDialogs>();
        state = Tessar::State();
        Tessar::applyFirstRunDefaults(state);
        window = std::make_unique<Tessar::MainWindow>(state);
        QSettings store(Tessar::settingsFilePath(), QSettings::IniFormat);
        window->loadSettings(store);
        if (!size.isEmpty())
            window->resize(size);
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window never showed");
        QObject::connect(&mWatch, &QTimer::timeout, window.get(), [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!mAnswers.isEmpty() && modal && modal->isVisible() && modal->objectName() == mAnswers.first().first)
                mAnswers.takeFirst().second(modal);
        });
        mWatch.start(5);
        QCoreApplication::processEvents();
    }

    void stop()
    {
        mAnswers.clear();
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

    // Chooses a menu entry by its name alone, with the mouse through the
    // menus that hold it, as a user does. Fails when it is hidden or disabled.
    void run(const QString &command) const
    {
        auto *entry = child<QAction>(command);
        if (!entry->isVisible() || !entry->isEnabled())
            qFatal("menu entry %s is hidden or disabled", qPrintable(command));
        QString why;
        if (!UserInput::choose(window->menuBar(), {{}, {}, entry}, &why))
            qFatal("menu entry %s could not be chosen: %s", qPrintable(command), qPrintable(why));
    }

    // Waits until `window` is the active window, as the window manager makes
    // a dialog when it opens. (A dialog counts as active for QTest as soon as
    // its parent is, before the keyboard has moved to it.)
    static bool activated(QWidget *window)
    {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }

    // A key stroke on whatever has the focus, as the keyboard delivers it:
    // menu shortcuts and the focused widget's own claims on keys apply.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        // A desktop gives the window back its activation when a dialog
        // closes; the offscreen platform leaves that to us.
        if (!QApplication::activeWindow() && window)
            QApplication::setActiveWindow(window.get());
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow();
        if (!target)
            qFatal("no widget has the focus");
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    // The same, the entry named by its place: the menu's object name, then
    // each entry's down through submenus, e.g.
    // choose({"mnuEdit", "mnuEditFillDown", "mnuEditFillNum7"}).
    void choose(const QStringList &path) const
    {
        for (qsizetype i = 0; i + 1 < path.size(); ++i) {
            const QList<QAction *> entries = child<QMenu>(path[i])->actions();
            if (std::none_of(entries.begin(), entries.end(), [&](QAction *a) {
                    return a->objectName() == path[i + 1] || (a->menu() && a->menu()->objectName() == path[i + 1]);
                }))
                qFatal("menu %s has no entry %s", qPrintable(path[i]), qPrintable(path[i + 1]));
        }
        run(path.last());
    }

    // Whether a menu entry could be chosen right now.
    bool canChoose(const QString &entry) const
    {
        auto *action = child<QAction>(entry);
        return action->isVisible() && action->isEnabled();
    }
    Tessar::Grid *grid(int frame) const { return child<Tessar::Grid>(QStringLiteral("GrdID%1").arg(frame)); }
    QString caption(int frame) const { return child<QGroupBox>(QStringLiteral("fraSample%1").arg(frame))->title(); }
    QScrollBar *scrollBar() const { return child<QScrollBar>(QStringLiteral("vsb")); }
    QString label(const QString &name) const { return child<QLabel>(name)->text(); }
    QString status() const { return label(QStringLiteral("StatusBar")); }
    Tessar::PicWell *picture() const { return window->findChild<Tessar::PicWell *>(); }
    QString description() const { return child<QLineEdit>(QStringLiteral("TxtFileDesc"))->text(); }
    QString undoEntry() const { return child<QAction>(QStringLiteral("mnuEditUndo"))->text(); }

    // The document as Save would write it now, the description as the box shows it.
    QByteArray document() const
    {
        Tessar::State copy = state;
        copy.fileDesc = description();
        return Tessar::sampleFileBytes(copy);
    }

    void open(const QString &file)
    {
        dialogs->answers = {file};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileOpen")});
    }

    void clickCell(int frame, int row) const
    {
        Tessar::Grid *g = grid(frame);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualItemRect(g->item(row, 1)).center());
    }
    void selectItem(int sample, int row) const { scrollBar()->setValue(sample); clickCell(0, row); }

    // Colours as the plate image holds them.
    QColor opaque(Tessar::Colour colour) const { return QColor(Tessar::toQColor(colour, picture()->palette()).rgb()); }
    QColor background() const { return picture()->backColor(); }
    QColor well(int s) const { return window->plateMap().pixelOf(s); }

    // Answers the next modal dialog of this name when it shows, in queue order.
    void whenModal(const QString &name, std::function<void(QWidget *)> answer) { mAnswers.append({name, std::move(answer)}); }
    int unanswered() const { return int(mAnswers.size()); }

    // Answers the next message box of this name with a click on `button`;
    // its text goes to `text`, its title to `title`.
    void whenBox(const QString &name, QString *text, QMessageBox::StandardButton button = QMessageBox::Ok,
                 QString *title = nullptr)
    {
        whenModal(name, [text, button, title](QWidget *widget) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            QVERIFY(box);
            if (text)
                *text = box->text();
            if (title)
                *title = box->windowTitle();
            clickButton(box->button(button));
        });
    }

private:
    QList<std::pair<QString, std::function<void(QWidget *)>>> mAnswers;
    QTimer mWatch;
};

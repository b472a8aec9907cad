#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <Qt>

class QAction;
class QMenuBar;
class QWidget;

// The user's hands: every stroke and click goes through the application's
// event delivery to the widget it is aimed at, so shortcuts, focus, event
// filters and grabs all apply as they do at a desk.
namespace SoakInput {

// A key stroke on `target`. Without `text` the key's own text is sent,
// as a keyboard produces it for that key and those modifiers.
void key(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString());
// A character as the keyboard produces it, whatever key makes it.
void character(QWidget *target, QChar c);

void press(QWidget *widget, QPoint at, Qt::MouseButton button);
void release(QWidget *widget, QPoint at, Qt::MouseButton button);
// A pointer move, with whatever buttons are held; without a button the
// pointer itself moves there, and the widget under it hears of it.
void move(QWidget *widget, QPoint at);
void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void doubleClick(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// Press, a few moves on the way, release: the widget pressed keeps the
// pointer all the way, as a grab does.
void drag(QWidget *widget, QPoint from, QPoint to, Qt::MouseButton button, int steps);
void wheel(QWidget *widget, QPoint at, QPoint angleDelta, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Escape on every open popup menu, innermost first. Returns how many closed.
int closePopups();

// The menu bar's entries as paths of object names (menu, submenus, entry),
// in menu order: every entry a user could click, submenus walked.
struct MenuEntry
{
    QStringList path;     // object names from the menu bar down
    QString caption;      // the entry's text, as shown
    QAction *action = nullptr;
};
QList<MenuEntry> menuEntries(QMenuBar *bar);

// Clicks through the menu bar to `entry`, enabled or not: a click on a
// grey entry does nothing and leaves the menu open. False when a menu did
// not open on the way, and `why` says which.
bool choose(QMenuBar *bar, const MenuEntry &entry, QString *why = nullptr);

} // namespace SoakInput

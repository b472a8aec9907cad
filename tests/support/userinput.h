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
namespace UserInput {

// A key stroke on `target`; without `text`, the key's own text.
void key(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString());
// Characters as a keyboard produces them, whatever keys make them.
void type(QWidget *target, const QString &text);

void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton, bool twice = false);
// Press, a few moves on the way, release: the widget pressed keeps the
// pointer all the way, as a grab does.
void drag(QWidget *widget, QPoint from, QPoint to, Qt::MouseButton button, int steps);
void wheel(QWidget *widget, QPoint at, QPoint angleDelta);

// Escape on every open popup menu, innermost first.
void closePopups();

// Every entry of the menu bar a user could click, submenus walked.
struct MenuEntry
{
    QStringList path;     // object names from the menu bar down
    QString caption;      // as shown, "File > Save"
    QAction *action = nullptr;
};
QList<MenuEntry> menuEntries(QMenuBar *bar);

// Clicks through the menu bar to `entry`, enabled or not. False when a
// menu did not open on the way, and `why` says which.
bool choose(QMenuBar *bar, const MenuEntry &entry, QString *why = nullptr);

} // namespace UserInput

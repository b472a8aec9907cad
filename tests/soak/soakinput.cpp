#include "soakinput.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace SoakInput {

void key(QWidget *target, int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    if (!target)
        return;
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key(key), modifiers);
    else
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), text, modifiers);
}

void character(QWidget *target, QChar c)
{
    if (!target)
        return;
    const char16_t code = c.unicode();
    if (code >= 0x20 && code < 0x7f) {
        QTest::keyClick(target, char(code));
        return;
    }
    // Letters beyond ASCII come from keys of their own on other layouts;
    // control characters from Ctrl with a letter.
    Qt::Key k = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    if (code < 0x20) {
        k = Qt::Key(Qt::Key_At + code);
        modifiers = Qt::ControlModifier;
    } else if (code <= 0xff) {
        k = Qt::Key(QChar(code).toUpper().unicode());
    }
    QTest::sendKeyEvent(QTest::Click, target, k, QString(c), modifiers);
}

void press(QWidget *widget, QPoint at, Qt::MouseButton button)
{
    QTest::mousePress(widget, button, Qt::NoModifier, at);
}

void release(QWidget *widget, QPoint at, Qt::MouseButton button)
{
    QTest::mouseRelease(widget, button, Qt::NoModifier, at);
}

void move(QWidget *widget, QPoint at)
{
    QTest::mouseMove(widget, at);
}

void click(QWidget *widget, QPoint at, Qt::MouseButton button)
{
    QPointer<QWidget> guard(widget);
    press(widget, at, button);
    // The press may have closed what was clicked; the button still comes up.
    if (guard)
        release(widget, at, button);
    else
        QTestPrivate::qtestMouseButtons.setFlag(button, false);
}

void doubleClick(QWidget *widget, QPoint at, Qt::MouseButton button)
{
    QPointer<QWidget> guard(widget);
    click(widget, at, button);
    if (!guard)
        return;
    QTest::mouseDClick(widget, button, Qt::NoModifier, at);
    if (guard)
        release(widget, at, button);
    else
        QTestPrivate::qtestMouseButtons.setFlag(button, false);
}

void drag(QWidget *widget, QPoint from, QPoint to, Qt::MouseButton button, int steps)
{
    QPointer<QWidget> guard(widget);
    move(widget, from);
    if (!guard)
        return;
    press(widget, from, button);
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps && guard; ++i)
        QTest::mouseMove(widget, from + (to - from) * i / steps);
    if (guard)
        release(widget, to, button);
    else
        QTestPrivate::qtestMouseButtons.setFlag(button, false);
}

void wheel(QWidget *widget, QPoint at, QPoint angleDelta, Qt::KeyboardModifiers modifiers)
{
    // The wheel reaches the widget under the pointer first, and its
    // parents when that one has no use for it.
    QWidget *target = widget->childAt(at);
    if (!target)
        target = widget;
    const QPoint local = target->mapFrom(widget, at);
    QWheelEvent event(QPointF(local), QPointF(target->mapToGlobal(local)), QPoint(), angleDelta, Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

int closePopups()
{
    int closed = 0;
    for (int guard = 0; guard < 20; ++guard) {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            break;
        QTest::keyClick(popup, Qt::Key_Escape);
        if (QApplication::activePopupWidget() == popup)
            popup->close();
        ++closed;
    }
    return closed;
}

namespace {

QString plainCaption(const QAction *action)
{
    QString text = action->text();
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(u'&');
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

void collect(QMenu *menu, QList<QAction *> chain, QStringList captions, QList<MenuEntry> &entries)
{
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        QList<QAction *> next = chain;
        next.append(action);
        QStringList nextCaptions = captions;
        nextCaptions.append(plainCaption(action));
        if (action->menu()) {
            collect(action->menu(), next, nextCaptions, entries);
            continue;
        }
        MenuEntry entry;
        for (QAction *step : next)
            entry.path.append(step->objectName().isEmpty() ? plainCaption(step) : step->objectName());
        entry.caption = nextCaptions.join(QLatin1String(" > "));
        entry.action = action;
        entries.append(entry);
    }
}

// The chain of actions from the menu bar down to `leaf`.
QList<QAction *> chainTo(QMenuBar *bar, QAction *leaf)
{
    QList<QAction *> chain;
    const std::function<bool(QAction *)> find = [&](QAction *action) {
        chain.append(action);
        if (action == leaf)
            return true;
        if (QMenu *menu = action->menu()) {
            for (QAction *child : menu->actions()) {
                if (find(child))
                    return true;
            }
        }
        chain.removeLast();
        return false;
    };
    for (QAction *top : bar->actions()) {
        if (find(top))
            break;
    }
    return chain;
}

} // namespace

QList<MenuEntry> menuEntries(QMenuBar *bar)
{
    QList<MenuEntry> entries;
    for (QAction *top : bar->actions()) {
        if (top->menu() && top->isVisible())
            collect(top->menu(), {top}, {plainCaption(top)}, entries);
    }
    return entries;
}

bool choose(QMenuBar *bar, const MenuEntry &entry)
{
    const QList<QAction *> chain = chainTo(bar, entry.action);
    if (chain.size() < 2)
        return false;
    QRect place = bar->actionGeometry(chain.first());
    QMenu *menu = nullptr;
    if (place.isValid() && bar->rect().contains(place.center())) {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, place.center());
        menu = chain.first()->menu();
    } else {
        // A narrow window keeps the menus that do not fit behind the
        // extension button at the end of the menu bar.
        auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
        if (!more || !more->isVisible())
            return false;
        QTest::mouseClick(more, Qt::LeftButton, Qt::NoModifier, more->rect().center());
        auto *overflow = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!overflow)
            return false;
        const QPoint at = overflow->actionGeometry(chain.first()).center();
        QTest::mouseMove(overflow, at);
        QTest::mouseClick(overflow, Qt::LeftButton, Qt::NoModifier, at);
        menu = chain.first()->menu();
    }
    for (qsizetype i = 1; i < chain.size(); ++i) {
        if (!menu || !menu->isVisible())
            return false;
        const QPoint at = menu->actionGeometry(chain[i]).center();
        QTest::mouseMove(menu, at);
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
        menu = chain[i]->menu();
    }
    return true;
}

} // namespace SoakInput

#include "soakinput.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <QTimer>
#include <QWheelEvent>

#include <memory>

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

bool choose(QMenuBar *bar, const MenuEntry &entry, QString *why)
{
    QString reason;
    const auto fail = [&](const QString &text) {
        if (why) {
            const QWidget *active = QApplication::activeWindow();
            *why = text + QStringLiteral(" (menu bar %1 wide%2, active window %3)")
                              .arg(bar->width())
                              .arg(bar->isEnabled() ? QString() : QStringLiteral(", disabled"),
                                   active ? active->objectName() + u' ' + QLatin1String(active->metaObject()->className()) : QStringLiteral("none"));
        }
        return false;
    };
    const QList<QAction *> chain = chainTo(bar, entry.action);
    if (chain.size() < 2)
        return false;
    // From an open menu down the chain to the entry, a click at each step.
    const auto walk = [chain](QMenu *menu, QString *reason) {
        for (qsizetype i = 1; i < chain.size(); ++i) {
            // A grey submenu opens no more than a grey entry does anything.
            if (menu && !menu->isVisible() && !chain[i - 1]->isEnabled())
                return true;
            if (!menu || !menu->isVisible()) {
                *reason = QStringLiteral("%1 is not open (popup: %2)")
                              .arg(chain[i - 1]->objectName(),
                                   QApplication::activePopupWidget() ? QApplication::activePopupWidget()->objectName() : QStringLiteral("none"));
                return false;
            }
            const QPoint at = menu->actionGeometry(chain[i]).center();
            QTest::mouseMove(menu, at);
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
            menu = chain[i]->menu();
            // A submenu opens after a short delay, as a user sees it do.
            if (menu && chain[i]->isEnabled())
                (void)QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000);
        }
        return true;
    };
    // A narrow window keeps the menus that do not fit wholly behind the
    // extension button at the end of the menu bar.
    auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    const bool overflowing = more && more->isVisible();
    const QRect place = bar->actionGeometry(chain.first());
    if (place.isValid() && place.left() >= 0
        && place.right() < (overflowing ? std::min(more->x(), bar->width()) : bar->width())) {
        QMenu *top = chain.first()->menu();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, place.center());
        return walk(top, &reason) || fail(reason);
    }
    // The extension's menu runs a loop of its own from the press, so the
    // way on is taken from inside that loop.
    if (!overflowing)
        return fail(QStringLiteral("%1 is not on the menu bar").arg(chain.first()->objectName()));
    auto ran = std::make_shared<bool>(false);
    auto reached = std::make_shared<bool>(false);
    auto missed = std::make_shared<QString>(QStringLiteral("the extension menu did not open"));
    auto onBar = std::make_shared<bool>(false);
    QTimer::singleShot(0, bar, [ran, reached, missed, onBar, walk, first = QPointer<QAction>(chain.first())] {
        *ran = true;
        auto *overflow = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!overflow || !first)
            return;
        // Half a menu title still shows on the bar, and is clicked there.
        if (!overflow->actions().contains(first.data())) {
            *onBar = true;
            closePopups();
            return;
        }
        const QPoint at = overflow->actionGeometry(first).center();
        QTest::mouseMove(overflow, at);
        QTest::mouseClick(overflow, Qt::LeftButton, Qt::NoModifier, at);
        if (QMenu *menu = first->menu())
            (void)QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000);
        *reached = walk(first->menu(), missed.get());
        // A grey entry leaves its menus open, and the loop with them.
        closePopups();
    });
    QTest::mouseClick(more, Qt::LeftButton, Qt::NoModifier, more->rect().center());
    for (int i = 0; i < 100 && !*ran; ++i)
        QCoreApplication::processEvents();
    if (*onBar && place.isValid()) {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, place.center());
        return walk(chain.first()->menu(), &reason) || fail(reason);
    }
    return *reached || fail(*missed);
}

} // namespace SoakInput

#include "userinput.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <memory>

namespace UserInput {

void key(QWidget *target, int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    if (!target)
        return;
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key(key), modifiers);
    else
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), text, modifiers);
}

void type(QWidget *target, const QString &text)
{
    for (qsizetype i = 0; i < text.size() && target; ++i) {
        const char16_t code = text[i].unicode();
        if (code >= 0x20 && code < 0x7f) {
            QTest::keyClick(target, char(code));
        } else if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            key(target, Qt::Key_unknown, Qt::NoModifier, text.mid(i++, 2));
        } else if (code < 0x20) {
            // Control characters come from Ctrl with a letter.
            key(target, Qt::Key_At + code, Qt::ControlModifier, text.mid(i, 1));
        } else {
            // Letters beyond ASCII come from keys of their own on other layouts.
            key(target, code <= 0xff ? QChar(code).toUpper().unicode() : int(Qt::Key_unknown), Qt::NoModifier, text.mid(i, 1));
        }
    }
}

namespace {

// The press may have closed what was pressed; the button still comes up.
void release(const QPointer<QWidget> &widget, QPoint at, Qt::MouseButton button)
{
    if (widget)
        QTest::mouseRelease(widget, button, Qt::NoModifier, at);
    else
        QTestPrivate::qtestMouseButtons.setFlag(button, false);
}

} // namespace

void click(QWidget *widget, QPoint at, Qt::MouseButton button, bool twice)
{
    QPointer<QWidget> guard(widget);
    QTest::mouseMove(widget, at);
    QTest::mousePress(widget, button, Qt::NoModifier, at);
    release(guard, at, button);
    if (twice && guard) {
        QTest::mouseDClick(widget, button, Qt::NoModifier, at);
        release(guard, at, button);
    }
}

void drag(QWidget *widget, QPoint from, QPoint to, Qt::MouseButton button, int steps)
{
    QPointer<QWidget> guard(widget);
    QTest::mouseMove(widget, from);
    QTest::mousePress(widget, button, Qt::NoModifier, from);
    for (int i = 1; i <= steps && guard; ++i)
        QTest::mouseMove(widget, from + (to - from) * i / steps);
    release(guard, to, button);
}

void wheel(QWidget *widget, QPoint at, QPoint angleDelta)
{
    // The widget under the pointer hears it first, its parents after.
    QWidget *target = widget->childAt(at) ? widget->childAt(at) : widget;
    const QPoint local = target->mapFrom(widget, at);
    QWheelEvent event(local, target->mapToGlobal(local), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void closePopups()
{
    for (int guard = 0; guard < 20 && QApplication::activePopupWidget(); ++guard) {
        QWidget *popup = QApplication::activePopupWidget();
        QTest::keyClick(popup, Qt::Key_Escape);
        if (QApplication::activePopupWidget() == popup)
            popup->close();
    }
}

namespace {

QString plainCaption(const QAction *action)
{
    QString text = action->text();
    return text.replace(QLatin1String("&&"), QLatin1String("\x01")).remove(u'&').replace(u'\x01', u'&');
}

void collect(const QList<QAction *> &chain, QList<MenuEntry> &entries)
{
    for (QAction *action : chain.last()->menu()->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QList<QAction *> next = chain + QList<QAction *>{action};
        if (action->menu()) {
            collect(next, entries);
            continue;
        }
        MenuEntry entry{{}, {}, action};
        for (QAction *step : next) {
            entry.path.append(step->objectName().isEmpty() ? plainCaption(step) : step->objectName());
            entry.caption += (entry.caption.isEmpty() ? QString() : QStringLiteral(" > ")) + plainCaption(step);
        }
        entries.append(entry);
    }
}

bool chainTo(QAction *action, QAction *leaf, QList<QAction *> &chain)
{
    chain.append(action);
    if (action == leaf)
        return true;
    for (QAction *child : action->menu() ? action->menu()->actions() : QList<QAction *>()) {
        if (chainTo(child, leaf, chain))
            return true;
    }
    chain.removeLast();
    return false;
}

void clickIn(QWidget *where, QPoint at)
{
    QTest::mouseMove(where, at);
    QTest::mouseClick(where, Qt::LeftButton, Qt::NoModifier, at);
}

// A submenu opens after a short delay, as a user sees it do.
void waitOpen(QAction *action)
{
    if (QMenu *menu = action->menu(); menu && action->isEnabled())
        (void)QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000);
}

// From an open menu down the chain to the entry, a click at each step.
bool walk(const QList<QAction *> &chain, QString *reason)
{
    for (qsizetype i = 1; i < chain.size(); ++i) {
        QMenu *menu = chain[i - 1]->menu();
        // A grey submenu opens no more than a grey entry does anything.
        if (!menu->isVisible() && !chain[i - 1]->isEnabled())
            return true;
        if (!menu->isVisible()) {
            *reason = chain[i - 1]->objectName() + QStringLiteral(" is not open");
            return false;
        }
        clickIn(menu, menu->actionGeometry(chain[i]).center());
        waitOpen(chain[i]);
    }
    return true;
}

} // namespace

QList<MenuEntry> menuEntries(QMenuBar *bar)
{
    QList<MenuEntry> entries;
    for (QAction *top : bar->actions()) {
        if (top->menu() && top->isVisible())
            collect({top}, entries);
    }
    return entries;
}

bool choose(QMenuBar *bar, const MenuEntry &entry, QString *why)
{
    QList<QAction *> chain;
    for (QAction *top : bar->actions()) {
        if (chainTo(top, entry.action, chain))
            break;
    }
    if (chain.size() < 2)
        return false;
    QString reason;
    const auto fail = [&] {
        const QWidget *active = QApplication::activeWindow();
        if (why)
            *why = reason + QStringLiteral(" (menu bar %1 wide, active window %2)")
                                .arg(bar->width()).arg(active ? active->objectName() : QStringLiteral("none"));
        return false;
    };
    // A narrow window keeps the menus that do not fit wholly behind the
    // extension button at the end of the menu bar.
    auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    const bool overflowing = more && more->isVisible();
    const QRect place = bar->actionGeometry(chain.first());
    const auto fromBar = [&] {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, place.center());
        return walk(chain, &reason) || fail();
    };
    if (place.isValid() && place.left() >= 0 && place.right() < (overflowing ? std::min(more->x(), bar->width()) : bar->width()))
        return fromBar();
    reason = chain.first()->objectName() + QStringLiteral(" is not on the menu bar");
    if (!overflowing)
        return fail();
    // The extension's menu runs a loop of its own from the press, so the
    // way on is taken from inside that loop.
    auto ran = std::make_shared<bool>(false);
    auto reached = std::make_shared<bool>(false);
    auto onBar = std::make_shared<bool>(false);
    reason = QStringLiteral("the extension menu did not open");
    QTimer::singleShot(0, bar, [=, &reason] {
        *ran = true;
        auto *overflow = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!overflow)
            return;
        // Half a menu title still shows on the bar, and is clicked there.
        if (!overflow->actions().contains(chain.first())) {
            *onBar = true;
            closePopups();
            return;
        }
        clickIn(overflow, overflow->actionGeometry(chain.first()).center());
        waitOpen(chain.first());
        *reached = walk(chain, &reason);
        // A grey entry leaves its menus open, and the loop with them.
        closePopups();
    });
    QTest::mouseClick(more, Qt::LeftButton, Qt::NoModifier, more->rect().center());
    for (int i = 0; i < 100 && !*ran; ++i)
        QCoreApplication::processEvents();
    if (*onBar && place.isValid())
        return fromBar();
    return *reached || fail();
}

} // namespace UserInput

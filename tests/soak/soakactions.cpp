// The user's actions, one table: each picks at random what a user might
// do next and does it through the real input path.
#include "soakrunner.h"

#include "core/plate/plategeometry.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/grid.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

using namespace Tessar;

namespace {

QString widgetName(const QWidget *widget)
{
    if (!widget->objectName().isEmpty() || !widget->parentWidget())
        return widget->objectName().isEmpty() ? QLatin1String(widget->metaObject()->className()) : widget->objectName();
    return widgetName(widget->parentWidget()) + QStringLiteral("'s ") + QLatin1String(widget->metaObject()->className());
}

const QList<Qt::MouseButton> Buttons = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::LeftButton,
                                        Qt::LeftButton, Qt::RightButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton};

QString buttonName(Qt::MouseButton button)
{
    return button == Qt::LeftButton ? QStringLiteral("left") : button == Qt::RightButton ? QStringLiteral("right")
           : button == Qt::MiddleButton ? QStringLiteral("middle") : QStringLiteral("back");
}

} // namespace

QWidget *SoakRunner::focusTarget() const
{
    QWidget *focus = QApplication::focusWidget();
    return focus && focus->window() == mWindow.get() ? focus : mWindow.get();
}

// The help window and the like stay open; the user clicks back into the
// main window. Activation takes a trip through the platform; keys sent
// before it arrives would go to the window left.
void SoakRunner::ensureActive()
{
    UserInput::closePopups();
    if (QApplication::activeWindow() != mWindow.get()) {
        QApplication::setActiveWindow(mWindow.get());
        (void)QTest::qWaitForWindowActive(mWindow.get(), 1000);
    }
}

// Exit would end the run; nothing else is left out.
QList<UserInput::MenuEntry> SoakRunner::entries() const
{
    QList<UserInput::MenuEntry> all = UserInput::menuEntries(mWindow->menuBar());
    all.removeIf([](const UserInput::MenuEntry &entry) { return entry.path.last() == u"mnuFileExit"; });
    return all;
}

void SoakRunner::noteEntry(const QString &objectName)
{
    mSaving = mSaving || objectName == u"mnuFileSave" || objectName == u"mnuFileSaveAs";
    if (objectName == u"mnuEditUndo" || objectName == u"mnuEditRedo")
        mIntent = objectName == u"mnuEditUndo" ? Intent::Undo : Intent::Redo;
}

// Key strokes on whatever has the focus; one that is a menu command's
// shortcut counts as that command.
void SoakRunner::keys(const QList<QKeyCombination> &strokes, const QString &text)
{
    QStringList names;
    for (const QKeyCombination stroke : strokes)
        names.append(QKeySequence(stroke).toString());
    note(QStringLiteral("%1 on %2").arg(names.join(u' '), widgetName(focusTarget())));
    const QList<UserInput::MenuEntry> menu = entries();
    for (const QKeyCombination stroke : strokes) {
        for (const UserInput::MenuEntry &entry : menu) {
            if (entry.action->shortcuts().contains(QKeySequence(stroke)))
                noteEntry(entry.path.last());
        }
        UserInput::key(focusTarget(), stroke.key(), stroke.keyboardModifiers(), text);
    }
}

QString SoakRunner::choose(const UserInput::MenuEntry &entry, bool byShortcut)
{
    const QList<QKeySequence> shortcuts = entry.action->shortcuts();
    if (byShortcut && !shortcuts.isEmpty()) {
        keys({mRandom.pick(shortcuts)[0]});
        return QString();
    }
    noteEntry(entry.path.last());
    note(QStringLiteral("menu %1%2").arg(entry.caption, entry.action->isEnabled() ? QString() : QStringLiteral(" (grey)")));
    QString why;
    return UserInput::choose(mWindow->menuBar(), entry, &why) ? QString()
                                                               : QStringLiteral("the menu did not open on the way to %1: %2").arg(entry.caption, why);
}

QPoint SoakRunner::mapPoint(QString *where)
{
    PicWell *picture = mWindow->findChild<PicWell *>();
    const int kind = mRandom.weighted({55, 15, 15, 15});
    const int s = mRandom.between(1, mState.wellCount - 1);
    const auto at = [&](float x, float y) { return picture->toPixel(x, y).toPoint(); };
    if (kind == 0) {
        *where = QStringLiteral("well %1").arg(spotname(mState, s).toString());
        return at(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)]);
    }
    if (kind == 1) {   // where a click or drag starts on no well
        *where = QStringLiteral("between wells %1 and %2").arg(s).arg(s + 1);
        return at((mState.spotX[std::size_t(s)] + mState.spotX[std::size_t(s + 1)]) / 2,
                  (mState.spotY[std::size_t(s)] + mState.spotY[std::size_t(s + 1)]) / 2);
    }
    if (kind == 2) {
        *where = QStringLiteral("off the map");
        return mRandom.pick(QList<QPoint>{QPoint(-8, -8), QPoint(picture->width() + 15, picture->height() / 2),
                                          QPoint(picture->width() / 2, picture->height() + 20), QPoint(-30, picture->height() / 3)});
    }
    const QPoint point(mRandom.below(std::max(picture->width(), 1)), mRandom.below(std::max(picture->height(), 1)));
    *where = QStringLiteral("map point %1,%2").arg(point.x()).arg(point.y());
    return point;
}

QList<SoakRunner::Action> SoakRunner::actions()
{
    const auto picture = [this] { return mWindow->findChild<PicWell *>(); };
    const auto mapMouse = [this, picture] {
        QString from, to;
        const QPoint a = mapPoint(&from);
        const Qt::MouseButton button = mRandom.pick(Buttons);
        const int how = mRandom.weighted({20, 40, 10, 30});
        static const char *const hows[] = {"hover over", "click on", "double click on", "drag from"};
        const QPoint b = how == 3 ? mapPoint(&to) : a;
        note(QStringLiteral("%1 %2 %3%4").arg(buttonName(button), QLatin1String(hows[how]), from, how == 3 ? QStringLiteral(" to ") + to : QString()));
        if (!picture()->isVisible())
            return;
        QTest::mouseMove(picture(), a);
        if (how == 3)
            UserInput::drag(picture(), a, b, button, mRandom.between(1, 5));
        else if (how > 0)
            UserInput::click(picture(), a, button, how == 2);
    };
    static const QList<QKeyCombination> strokes = {
        Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Return, Qt::KeypadModifier | Qt::Key_Enter,
        Qt::Key_Tab, Qt::Key_Tab, Qt::ShiftModifier | Qt::Key_Backtab, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
        Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down, Qt::ControlModifier | Qt::Key_Return,
        Qt::Key_Insert, Qt::Key_Escape, Qt::ControlModifier | Qt::Key_Home, Qt::ControlModifier | Qt::Key_End, Qt::Key_Space,
        Qt::ShiftModifier | Qt::Key_PageDown, Qt::ShiftModifier | Qt::Key_Home, Qt::ShiftModifier | Qt::Key_End};
    // The commands the soak asks for more often than a random menu entry would.
    static const QStringList commands = {QStringLiteral("mnuFileOpen"), QStringLiteral("mnuFileSave"), QStringLiteral("mnuFileSaveAs"),
                                         QStringLiteral("mnuFileSaveAs"), QStringLiteral("mnuEditUndo"), QStringLiteral("mnuEditUndo"),
                                         QStringLiteral("mnuEditUndo"), QStringLiteral("mnuEditRedo"), QStringLiteral("mnuEditRedo")};
    return {
        {"click", 200, [this, mapMouse] {
             // A cell of a frame (its value, its caption, below the rows,
             // twice or with the right button), the description, List, or the map.
             const int where = mState.nFrames < 1 ? 3 : mRandom.weighted({75, 15, 4, 6});
             if (where == 3)
                 return mapMouse();
             const int frame = mRandom.below(mState.nFrames);
             auto *grid = mWindow->findChild<Grid *>(QStringLiteral("GrdID%1").arg(frame));
             const int how = where == 0 ? mRandom.weighted({70, 10, 5, 10, 5}) : 0;
             QWidget *target = where == 0 ? grid->viewport() : where == 1 ? mWindow->findChild<QWidget *>(QStringLiteral("TxtFileDesc"))
                                                                           : mWindow->findChild<QWidget *>(QStringLiteral("CmdList"));
             QPoint at = grid->visualItemRect(grid->item(mRandom.below(grid->rows()), how == 1 ? 0 : 1)).center();
             if (how == 2)
                 at = QPoint(target->width() / 2, grid->visualItemRect(grid->item(grid->rows() - 1, 1)).bottom() + 4);
             if (where > 0)
                 at = QPoint(mRandom.between(1, std::max(target->width() - 2, 1)), target->height() / 2);
             note(QStringLiteral("%1 click on %2 at %3,%4").arg(how == 4 ? QLatin1String("right") : how == 3 ? QLatin1String("double") : QLatin1String("left"),
                                                                widgetName(target)).arg(at.x()).arg(at.y()));
             if (target->isVisible())
                 UserInput::click(target, at, how == 4 ? Qt::RightButton : Qt::LeftButton, how == 3);
         }},
        {"map mouse", 90, mapMouse},
        {"type", 200, [this] {
             const QString text = mRandom.text(mRandom.between(1, 8), mRandom.chance(20) ? 25 : 0);
             note(QStringLiteral("type \"%1\" into %2").arg(text, widgetName(focusTarget())));
             UserInput::type(focusTarget(), text);
         }},
        {"keys", 190, [this] {
             // Editing keys, now and then Alt with a menu's letter, or Ctrl
             // with a letter, which gives a control character or a command.
             const int how = mRandom.weighted({80, 6, 14});
             const int letter = mRandom.below(26);
             if (how == 0)
                 keys(QList<QKeyCombination>(mRandom.chance(20) ? mRandom.between(2, 6) : 1, mRandom.pick(strokes)));
             else
                 keys({(how == 1 ? Qt::AltModifier : Qt::ControlModifier) | Qt::Key(Qt::Key_A + letter)},
                      how == 1 ? QString() : QString(QChar(char16_t(1 + letter))));
         }},
        {"menu", 100, [this] { mFailure = choose(mRandom.pick(entries()), false); }},
        {"shortcut", 80, [this] {
             QList<UserInput::MenuEntry> withKeys = entries();
             withKeys.removeIf([](const UserInput::MenuEntry &entry) { return entry.action->shortcut().isEmpty(); });
             mFailure = choose(mRandom.pick(withKeys), true);
         }},
        {"command", 70, [this] {
             const QString name = mRandom.pick(commands);
             const QList<UserInput::MenuEntry> all = entries();
             const auto entry = std::find_if(all.begin(), all.end(), [&](const UserInput::MenuEntry &e) { return e.path.last() == name; });
             mFailure = entry == all.end() ? QStringLiteral("the menu has no entry ") + name : choose(*entry, mRandom.chance(60));
         }},
        {"history walk", 4, [this] { mFailure = historyWalk(); }},
        {"wheel", 50, [this, picture] {
             // Over the map, or over the frames, which scroll the samples.
             QString where;
             QWidget *target = picture();
             QPoint at = mapPoint(&where);
             if (mRandom.chance(50)) {
                 target = mWindow->findChild<QGroupBox *>(QStringLiteral("fraMain"));
                 at = QPoint(mRandom.below(std::max(target->width(), 1)), mRandom.below(std::max(target->height(), 1)));
                 where = QStringLiteral("the frames at %1,%2").arg(at.x()).arg(at.y());
             }
             const QPoint delta = mRandom.pick(QList<QPoint>{{0, 120}, {0, -120}, {0, 240}, {0, -360}, {0, 15}, {0, -40}, {120, 0}, {0, 1200}, {0, -720}});
             note(QStringLiteral("wheel %1,%2 over %3").arg(delta.x()).arg(delta.y()).arg(where));
             UserInput::wheel(target, at, delta);
         }},
        {"scroll bar", 40, [this] {
             // A click on the arrows or the page areas, or the scroll box dragged.
             auto *vsb = mWindow->findChild<QScrollBar *>(QStringLiteral("vsb"));
             if (!vsb->isVisible() || vsb->height() < 4)
                 return;
             QStyleOptionSlider option;
             option.initFrom(vsb);
             option.orientation = Qt::Vertical;
             option.minimum = vsb->minimum();
             option.maximum = vsb->maximum();
             option.sliderPosition = option.sliderValue = vsb->value();
             option.pageStep = vsb->pageStep();
             const QRect slider = vsb->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, vsb);
             const QPoint to(vsb->width() / 2, mRandom.below(vsb->height()) + (mRandom.chance(10) ? 200 : 0));
             if (mRandom.chance(70) || !slider.isValid()) {
                 note(QStringLiteral("click the scroll bar at %1").arg(to.y() % vsb->height()));
                 UserInput::click(vsb, QPoint(to.x(), to.y() % vsb->height()));
             } else {
                 note(QStringLiteral("drag the scroll box from %1 to %2").arg(slider.center().y()).arg(to.y()));
                 UserInput::drag(vsb, slider.center(), to, Qt::LeftButton, mRandom.between(1, 6));
             }
         }},
        {"resize", 21, [this] {
             static const QRect ranges[] = {{1, 1, 260, 200}, {400, 300, 900, 650}, {1400, 1000, 1200, 900}};
             static const char *const states[] = {"maximise", "minimise", "full screen"};
             const int how = mRandom.weighted({20, 60, 20, 2, 2, 2});
             if (how >= 3) {
                 // Then back to normal, as a user does with the title bar buttons.
                 note(QStringLiteral("%1 the window and restore it").arg(QLatin1String(states[how - 3])));
                 (how == 3 ? mWindow->showMaximized() : how == 4 ? mWindow->showMinimized() : mWindow->showFullScreen());
                 QCoreApplication::processEvents();
                 mWindow->showNormal();
                 QCoreApplication::processEvents();
                 QApplication::setActiveWindow(mWindow.get());
                 return;
             }
             const QSize size(mRandom.between(ranges[how].left(), ranges[how].right()), mRandom.between(ranges[how].top(), ranges[how].bottom()));
             note(QStringLiteral("resize the window to %1 x %2").arg(size.width()).arg(size.height()));
             mWindow->resize(size);
         }},
    };
}

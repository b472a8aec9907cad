#include "screencentre.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace Tessar {

namespace {

// What the window manager adds around a window; nothing until it has framed it.
QMargins frameMargins(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// A top-level window is moved by the top-left corner of its frame.
void moveToCentre(QWidget *window, const QRect &area, const QMargins &frame)
{
    const QSize outer = window->size().grownBy(frame);
    window->move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

// Puts the window right should the window manager frame it otherwise than
// guessed, as soon as its real frame is known; then it is done.
class FrameWatch : public QObject
{
public:
    FrameWatch(QWidget *window, const QRect &area, const QMargins &guess)
        : QObject(window)
        , mArea(area)
        , mGuess(guess)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Move && event->type() != QEvent::Show)
            return false;
        auto *window = static_cast<QWidget *>(watched);
        const QMargins frame = frameMargins(window);
        if (!window->isVisible() || frame.isNull())
            return false;
        window->removeEventFilter(this);
        if (frame != mGuess)
            moveToCentre(window, mArea, frame);
        deleteLater();
        return false;
    }

private:
    QRect mArea;
    QMargins mGuess;
};

} // namespace

void centreOnScreen(QWidget *window, QWidget *parent)
{
    QScreen *screen = parent ? parent->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen || !window)
        return;
    // The size the window will show with, which a laid-out dialog has only
    // once asked for it.
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    // A window is framed only once it shows; until then its frame is taken
    // to be the parent's, as dialogs get the same decoration.
    const QMargins guess = parent ? frameMargins(parent->window()) : QMargins();
    const QRect area = screen->availableGeometry();
    moveToCentre(window, area, guess);
    new FrameWatch(window, area, guess);
}

} // namespace Tessar

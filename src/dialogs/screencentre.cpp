#include "screencentre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace Tessar {

void centreOnScreen(QWidget *window, QWidget *parent)
{
    QScreen *screen = parent ? parent->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen || !window)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2);
}

} // namespace Tessar

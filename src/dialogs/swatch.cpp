#include "swatch.h"

#include "platform/colour.h"

#include <QPainter>

namespace Tessar {

Swatch::Swatch(QWidget *parent)
    : QWidget(parent)
{
}

void Swatch::setColour(Colour colour)
{
    mColour = colour;
    update();
}

void Swatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(toQColor(mColour, palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace Tessar

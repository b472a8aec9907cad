#include "basiccolourgrid.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

#include <algorithm>

namespace Tessar {

BasicColourGrid::BasicColourGrid(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor BasicColourGrid::colourAt(int index)
{
    // The set the desktop's own colour dialog offers, in its order.
    return (index >= 0 && index < Count) ? QColorDialog::standardColor(index) : QColor();
}

int BasicColourGrid::indexOf(const QColor &colour)
{
    for (int i = 0; i < Count; ++i) {
        if (colourAt(i).rgb() == colour.rgb())
            return i;
    }
    return -1;
}

void BasicColourGrid::setCurrent(int index)
{
    if (index < -1 || index >= Count || index == mCurrent)
        return;
    mCurrent = index;
    update();
    emit currentChanged(index);
}

QSize BasicColourGrid::cellSize() const
{
    const int height = fontMetrics().height() + 10;
    return {height * 7 / 6, height};
}

QRect BasicColourGrid::cellRect(int index) const
{
    if (index < 0 || index >= Count)
        return {};
    const QSize cell = cellSize();
    return {QPoint((index / Rows) * cell.width(), (index % Rows) * cell.height()), cell};
}

int BasicColourGrid::cellAt(QPoint position) const
{
    const QSize cell = cellSize();
    if (position.x() < 0 || position.y() < 0)
        return -1;
    const int column = position.x() / cell.width();
    const int row = position.y() / cell.height();
    return (column < Columns && row < Rows) ? column * Rows + row : -1;
}

QSize BasicColourGrid::sizeHint() const
{
    const QSize cell = cellSize();
    return {Columns * cell.width(), Rows * cell.height()};
}

void BasicColourGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < Count; ++i) {
        const QRect swatch = cellRect(i).adjusted(4, 4, -4, -4);
        qDrawShadePanel(&painter, swatch, palette(), true, 1);
        painter.fillRect(swatch.adjusted(1, 1, -1, -1), colourAt(i));
    }
    if (mCurrent >= 0) {
        // A ring around the chosen swatch, in the selection colour while the
        // grid has the keyboard.
        painter.setPen(QPen(palette().color(hasFocus() ? QPalette::Highlight : QPalette::WindowText), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(cellRect(mCurrent)).adjusted(2, 2, -2, -2));
    } else if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = cellRect(0).adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void BasicColourGrid::keyPressEvent(QKeyEvent *event)
{
    int row = std::max(mCurrent, 0) % Rows;
    int column = std::max(mCurrent, 0) / Rows;
    switch (event->key()) {
    case Qt::Key_Left: column = std::max(column - 1, 0); break;
    case Qt::Key_Right: column = std::min(column + 1, Columns - 1); break;
    case Qt::Key_Up: row = std::max(row - 1, 0); break;
    case Qt::Key_Down: row = std::min(row + 1, Rows - 1); break;
    case Qt::Key_Home: row = column = 0; break;
    case Qt::Key_End: row = Rows - 1; column = Columns - 1; break;
    default:
        // Return, Escape and the rest are the dialog's.
        QWidget::keyPressEvent(event);
        return;
    }
    // Nothing chosen yet: the first stroke lands on the first swatch.
    setCurrent(mCurrent < 0 ? 0 : column * Rows + row);
    event->accept();
}

void BasicColourGrid::mousePressEvent(QMouseEvent *event)
{
    const int index = cellAt(event->position().toPoint());
    if (index >= 0 && event->button() == Qt::LeftButton)
        setCurrent(index);
    event->accept();
}

void BasicColourGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int index = cellAt(event->position().toPoint());
    if (index < 0 || event->button() != Qt::LeftButton)
        return;
    setCurrent(index);
    emit activated(index);
}

void BasicColourGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void BasicColourGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace Tessar

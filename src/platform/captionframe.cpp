#include "captionframe.h"

#include "tiptext.h"

#include <QHelpEvent>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QToolTip>

namespace Tessar {

CaptionFrame::CaptionFrame(QWidget *parent)
    : QGroupBox(parent)
{
}

QString CaptionFrame::shownTitle() const
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect full = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    // The style indents the caption; the same room is left at the far end.
    const int indent = std::max(full.left() - option.rect.left(), 0);
    const int room = option.rect.width() - 2 * indent;
    if (full.right() <= option.rect.right() - indent)
        return title();
    return fontMetrics().elidedText(title(), Qt::ElideRight, std::max(room, 0));
}

QRect CaptionFrame::captionRect() const
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.text = shownTitle();
    return style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
}

bool CaptionFrame::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QRect caption = captionRect();
        if (shownTitle() != title() && caption.contains(help->pos()))
            QToolTip::showText(help->globalPos(), plainTip(title()), this, caption);
        else
            QToolTip::hideText();
        return true;
    }
    return QGroupBox::event(event);
}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.text = shownTitle();
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

} // namespace Tessar

#include "griddelegate.h"

#include "celltext.h"
#include "colour.h"
#include "grid.h"
#include "core/plate/contrast.h"

#include <QApplication>
#include <QPainter>

namespace Tessar {

namespace {

constexpr int TagMargin = 2;    // between the tag and the cell's edges, device-independent pixels
constexpr int TagPadding = 4;   // between the tag's edge and its text
constexpr double PaleShare = 0.3;   // of the selection colour in the fill of a grid without the focus

QColor textOn(const QColor &background)
{
    const QColor rgb = background.toRgb();
    const Rgb text = readableTextOn({rgb.red(), rgb.green(), rgb.blue()});
    return {text.red, text.green, text.blue};
}

QColor blend(const QColor &over, const QColor &under, double share)
{
    const QColor a = over.toRgb();
    const QColor b = under.toRgb();
    const auto mix = [share](int x, int y) { return int(std::lround(x * share + y * (1 - share))); };
    return {mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue())};
}

} // namespace

GridDelegate::GridDelegate(Grid *grid)
    : QStyledItemDelegate(grid)
    , mGrid(grid)
    , mText(std::make_shared<CellText>())
{
}

void GridDelegate::shareTextsWith(const GridDelegate &other)
{
    mText = other.mText;
}

QStyleOptionViewItem GridDelegate::markedCell(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);

    const bool current = index.column() == 1 && index == mGrid->currentIndex();
    const Grid::CurrentMark mark = current ? mGrid->currentMark() : Grid::CurrentMark::None;
    if (mark == Grid::CurrentMark::Filled) {
        cell.state |= QStyle::State_Selected;
    } else if (mark == Grid::CurrentMark::Pale) {
        const QPalette::ColorGroup group = (cell.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        cell.backgroundBrush = blend(cell.palette.color(group, QPalette::Highlight),
                                     cell.palette.color(group, QPalette::Base), PaleShare);
    }
    return cell;
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = markedCell(option, index);

    const QVariant key = index.data(Grid::KeyColourRole);
    QString name;
    if (key.isValid())
        std::swap(name, cell.text);   // the tag shows it

    // The style draws the cell without its text, which is laid out here
    // once and kept, instead of four times in every paint.
    QString text;
    const bool ownText = !key.isValid() && !cell.text.isEmpty() && CellText::handles(cell);
    if (ownText)
        std::swap(text, cell.text);

    const QWidget *widget = cell.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    if (ownText) {
        const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget);
        cell.text = std::move(text);
        mText->draw(painter, cell, room, *style);
    }

    if (key.isValid() && !name.isEmpty()) {
        cell.text = name;
        paintKeyTag(painter, cell, toQColor(Colour(key.toUInt()), mGrid->palette()));
    }
}

// The key's colour stays the cue, and the name on it stays readable
// whatever the colour and whether or not the cell is current.
void GridDelegate::paintKeyTag(QPainter *painter, const QStyleOptionViewItem &cell, const QColor &key) const
{
    const QRect room = cell.rect.adjusted(TagMargin, 1, -TagMargin, -1);
    if (room.width() <= 2 * TagPadding || room.height() <= 0)
        return;
    const QFontMetrics metrics(cell.font);
    const QString shown = metrics.elidedText(cell.text, Qt::ElideRight, room.width() - 2 * TagPadding);
    const int width = std::min(metrics.horizontalAdvance(shown) + 2 * TagPadding, room.width());
    const QRectF tag(room.left() + 0.5, room.top() + 0.5, width - 1, room.height() - 1);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    // A faint edge keeps a white tag apart from a white cell.
    painter->setPen(QPen(QColor(0, 0, 0, 96), 1));
    painter->setBrush(key);
    painter->drawRoundedRect(tag, 3, 3);
    painter->setFont(cell.font);
    painter->setPen(textOn(key));
    painter->drawText(tag.adjusted(TagPadding - 0.5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();
}

} // namespace Tessar

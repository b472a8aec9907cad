#include "celltext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextLayout>

#include <algorithm>

namespace Tessar {

namespace {

// Far more than the frames of a window show; a long scroll through a plate
// starts afresh now and then instead of keeping every text it passed.
constexpr std::size_t MaxTexts = 2048;

QTextOption lineOption()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(Qt::LeftToRight);
    return option;
}

std::unique_ptr<QTextLayout> layOut(const QString &text, const QFont &font, int width)
{
    auto layout = std::make_unique<QTextLayout>(text, font);
    layout->setTextOption(lineOption());
    // Keeps the glyphs for the next paint, which is the point.
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, 0));
    }
    layout->endLayout();
    return layout;
}

// Anything that breaks a line, steers the direction or stands for a
// variable-length text is left to the style.
bool isPlainCharacter(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20 || (u >= 0x7f && u < 0xa0))
        return false;
    if (u == 0x2028 || u == 0x2029 || (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069))
        return false;
    return c.direction() != QChar::DirR && c.direction() != QChar::DirAL;
}

} // namespace

struct CellText::Shaped
{
    std::unique_ptr<QTextLayout> whole;
    qreal naturalWidth = 0;
    int height = 0;
    int elidedWidth = -1;   // the room the elided layout was made for
    std::unique_ptr<QTextLayout> elided;
};

CellText::CellText() = default;
CellText::~CellText() = default;

bool CellText::handles(const QStyleOptionViewItem &cell)
{
    if (cell.direction != Qt::LeftToRight || (cell.features & QStyleOptionViewItem::WrapText)
        || cell.textElideMode != Qt::ElideRight)
        return false;
    const Qt::Alignment across = cell.displayAlignment & Qt::AlignHorizontal_Mask;
    if (across != Qt::AlignLeft && across != Qt::AlignLeading)
        return false;
    return std::all_of(cell.text.cbegin(), cell.text.cend(), isPlainCharacter);
}

CellText::Shaped &CellText::shaped(const QString &text, const QFont &font, int width)
{
    if (!(font == mFont) || font.resolveMask() != mFont.resolveMask()) {
        mTexts.clear();
        mFont = font;
    }
    auto found = mTexts.find(text);
    if (found != mTexts.end())
        return *found->second;
    if (mTexts.size() >= MaxTexts)
        mTexts.clear();
    auto entry = std::make_unique<Shaped>();
    entry->whole = layOut(text, font, width);
    if (entry->whole->lineCount() > 0)
        entry->naturalWidth = entry->whole->lineAt(0).naturalTextWidth();
    entry->height = entry->whole->boundingRect().size().toSize().height();
    return *mTexts.emplace(text, std::move(entry)).first->second;
}

void CellText::draw(QPainter *painter, const QStyleOptionViewItem &cell, const QRect &room, const QStyle &style)
{
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
    const QRect textRect = room.adjusted(margin, 0, -margin, 0);
    Shaped &text = shaped(cell.text, cell.font, textRect.width());

    const QTextLayout *shown = text.whole.get();
    if (text.naturalWidth > textRect.width()) {
        // Only the latest room is kept: a new width is a new elision anyway.
        if (text.elidedWidth != textRect.width() || !text.elided) {
            const QString elided = QFontMetrics(cell.font).elidedText(cell.text, Qt::ElideRight, textRect.width());
            text.elided = layOut(elided, cell.font, textRect.width());
            text.elidedWidth = textRect.width();
        }
        shown = text.elided.get();
    }

    QPalette::ColorGroup group = (cell.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const QPalette::ColorRole role = (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;

    // Centred up and down as the style centres its text box.
    const QRect box = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment & Qt::AlignVertical_Mask,
                                          QSize(textRect.width(), text.height), textRect);
    painter->save();
    painter->setClipRect(cell.rect);
    painter->setPen(cell.palette.color(group, role));
    shown->draw(painter, QPointF(textRect.x(), box.top()));
    painter->restore();
}

} // namespace Tessar

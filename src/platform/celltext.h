#pragma once

#include <QFont>
#include <QString>

#include <memory>
#include <unordered_map>

class QPainter;
class QRect;
class QStyle;
class QStyleOptionViewItem;
class QTextLayout;

namespace Tessar {

// Draws the text of a grid cell as the style draws it, one line from the
// left, elided at its end, but keeps each text's shaped glyphs between
// paints: the style shapes a cell's text four times a paint, which made
// text most of what a resize or a scroll costs.
class CellText
{
public:
    CellText();
    ~CellText();
    CellText(const CellText &) = delete;
    CellText &operator=(const CellText &) = delete;

    // Whether draw() paints this cell's text exactly as the style would;
    // several lines, right-to-left cells and other alignments are the
    // style's to draw.
    static bool handles(const QStyleOptionViewItem &cell);

    // The text in the style's text room of the cell, in the pen the style
    // would take. `room` is that room as the style gives it.
    void draw(QPainter *painter, const QStyleOptionViewItem &cell, const QRect &room, const QStyle &style);

private:
    struct Shaped;
    Shaped &shaped(const QString &text, const QFont &font, int width);

    QFont mFont;   // the one the kept texts were shaped in
    std::unordered_map<QString, std::unique_ptr<Shaped>> mTexts;
};

} // namespace Tessar

#pragma once

#include "celltext.h"

#include <QStyledItemDelegate>

#include <memory>

namespace Tessar {

class Grid;

// Paints a Grid's cells. A key cell shows its name on a tag of the key's
// colour, in black or white, whichever reads better on it. The current cell
// is marked with the desktop's selection colour: filled while the grid has
// the focus, a paler fill while the grid waits for the focus to come back.
// A key cell that is current keeps its tag on the selection.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridDelegate(Grid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The cell as the style is to draw it: the grid's own current mark in
    // place of the view's selection and focus frame.
    QStyleOptionViewItem markedCell(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    // Keeps laid-out texts in `other`'s store from now on: worth it for
    // grids in one font that show the same captions.
    void shareTextsWith(const GridDelegate &other);

private:
    void paintKeyTag(QPainter *painter, const QStyleOptionViewItem &cell, const QColor &key) const;

    Grid *mGrid;
    std::shared_ptr<CellText> mText;   // painting keeps what it laid out
};

} // namespace Tessar

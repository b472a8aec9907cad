#pragma once

#include "core/document/state.h"

#include <QTableWidget>

#include <optional>

namespace Tessar {

// The two-column grid the sample frames and the Configure dialog use:
// column 0 is a fixed, grey caption column the user cannot select, column 1
// holds the values. It has no editor of its own; its owner does all typing
// through keyDown and keyPress, which arrive in that order for one stroke.
// Lengths are in pixels.
class Grid : public QTableWidget
{
    Q_OBJECT

public:
    // How the current cell shows: filled with the selection colour while the
    // grid has the focus, with a paler fill while the grid was the last of
    // its window to have it, else not at all (one grid of a window marks its
    // current cell, the one typing goes back to).
    enum class CurrentMark { None, Filled, Pale };

    // The key colour a cell carries, as a stored Colour.
    static constexpr int KeyColourRole = Qt::UserRole + 1;

    explicit Grid(QWidget *parent = nullptr);

    int rows() const;
    void setRows(int rows);

    // The current cell.
    int row() const;
    void setRow(int row);
    int col() const;
    void setCol(int col);
    QString text() const;
    void setText(const QString &text);
    // Gives the current cell a key's colour, its text shown on a tag of that
    // colour in black or white, or (nullopt) plain black text.
    void setCellKeyColour(std::optional<Colour> colour);

    QString textAt(int row, int col) const;
    void setTextAt(int row, int col, const QString &text);
    std::optional<Colour> keyColourAt(int row, int col) const;
    // The colour the document gives the cell's text: its key colour, or black.
    Colour textColourAt(int row, int col) const;

    // Whether Tab, Shift+Tab and Return are the owner's to interpret, as
    // the sample frames advance with them. A grid that does not claim them
    // is one control among others: Tab moves on, Return and Escape reach
    // the dialog's OK and Cancel. Escape is never the grid's.
    void setClaimsTabAndReturn(bool claims) { mClaimsTabAndReturn = claims; }
    bool claimsTabAndReturn() const { return mClaimsTabAndReturn; }

    // Lays out cell texts once for this grid and `other`, which shows the
    // same captions in the same font.
    void shareLaidOutTexts(const Grid &other);

    // Draws the grid's frame over the outer edge of its cells instead of
    // around them, so a grid as high as n rows shows n whole rows.
    void setFrameOverCells(bool over);
    CurrentMark currentMark() const;

    void setColWidth(int col, int width);
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);  // -1: the default height for the font
    int defaultRowHeight() const;

signals:
    void clicked();
    void doubleClicked();
    // Qt key code and modifiers, before the grid's own navigation runs.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // The character typed, when the stroke produced one.
    void keyPress(QChar character);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    QTableWidgetItem *cell(int row, int col) const;
    void paintCaptionColumn();
    void paintFrameOverCells();

    bool mReleaseEndsDoubleClick = false;
    bool mClaimsTabAndReturn = false;
    QWidget *mFrameOverCells = nullptr;   // lies above the cells and scroll bar
    bool mLastFocused = false;   // of the grids in its window
};

} // namespace Tessar

#pragma once

#include <QWidget>

namespace Tessar {

// The desktop's 48 basic colours as a grid of swatches, six rows of eight,
// numbered down each column from the top left. One cell is current; the
// mouse and the arrow keys choose it, a double click settles on it.
class BasicColourGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Rows = 6;
    static constexpr int Columns = 8;
    static constexpr int Count = Rows * Columns;

    explicit BasicColourGrid(QWidget *parent = nullptr);

    static QColor colourAt(int index);
    // The cell showing `colour`, or -1 when none does.
    static int indexOf(const QColor &colour);

    int current() const { return mCurrent; }   // -1: none yet
    void setCurrent(int index);
    QRect cellRect(int index) const;

    QSize sizeHint() const override;

signals:
    void currentChanged(int index);
    void activated(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int cellAt(QPoint position) const;
    QSize cellSize() const;

    int mCurrent = -1;
};

} // namespace Tessar

// The sample grids draw their cells' text themselves, kept between paints;
// what shows must stay what the style itself draws, to the pixel.

#include "platform/grid.h"

#include <QStyledItemDelegate>

#include "platform/griddelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

using namespace Tessar;

namespace {

// The cell painted wholly by the style, text and all, with the grid's marks.
class StyleDrawnCells : public QStyledItemDelegate
{
public:
    explicit StyleDrawnCells(Grid *grid)
        : QStyledItemDelegate(grid), mKeyCells(grid)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.data(Grid::KeyColourRole).isValid()) {
            mKeyCells.paint(painter, option, index);
            return;
        }
        const QStyleOptionViewItem cell = mKeyCells.markedCell(option, index);
        cell.widget->style()->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
    }

private:
    GridDelegate mKeyCells;
};

const QStringList Texts = {
    QStringLiteral("Plasma"),
    QStringLiteral("S1401 F3 wxyzabcdefghijklmnopqrstuvwxyzab"),
    QStringLiteral("trailing spaces   "),
    QStringLiteral("   leading"),
    QStringLiteral("Zürich Ærø ñ ß œ — “quoted” 12,5 µl"),
    QStringLiteral("Wii/AV fi ffl kerning: AVAWAY To."),
    QStringLiteral("first line\nsecond line"),
    QStringLiteral("مرحبا left to right? no"),
    QStringLiteral("漢字とかな mixed with Latin"),
    QString(),
};

} // namespace

class TestGridText : public QObject
{
    Q_OBJECT

    // The grid as it paints now, and as the style alone would paint it.
    static std::pair<QImage, QImage> paintings(Grid &grid)
    {
        QAbstractItemDelegate *own = grid.itemDelegate();
        const QImage now = grid.grab().toImage();
        StyleDrawnCells reference(&grid);
        grid.setItemDelegate(&reference);
        const QImage style = grid.grab().toImage();
        grid.setItemDelegate(own);
        return {now, style};
    }

    static void fill(Grid &grid, int offset)
    {
        grid.setRows(int(Texts.size()));
        for (int r = 0; r < Texts.size(); ++r) {
            grid.setTextAt(r, 0, Texts[(r + offset) % Texts.size()]);
            grid.setTextAt(r, 1, Texts[(r + offset + 1) % Texts.size()]);
        }
        grid.setRow(2);
        grid.setCellKeyColour(Colour(0x00ff00));
        grid.setRow(1);
    }

private slots:
    // Every width from a sliver to more than the texts need, each current
    // mark, the caption column and a key cell, and a font change: the kept
    // texts must never show an elision made for another width or font.
    // A second grid sharing the first one's kept texts shows its own.
    void textLooksAsTheStyleDrawsIt()
    {
        QWidget window;
        window.resize(700, 300);
        Grid grid(&window);
        Grid other(&window);
        other.move(0, 250);
        other.resize(50, 20);
        QFont font = grid.font();
        font.setPointSizeF(8.25);
        grid.setFont(font);
        fill(grid, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // Where the two paintings part.
        QStringList differences;
        const auto compareGrid = [&](Grid &g, int width, const char *what) {
            g.resize(width + 60, 240);
            g.setColWidth(0, 60);
            g.setColWidth(1, width);
            if (const auto [now, style] = paintings(g); now != style)
                differences << QStringLiteral("%1, value column %2 px wide").arg(QLatin1String(what)).arg(width);
        };
        const auto compare = [&](int width, const char *what) { compareGrid(grid, width, what); };

        grid.setFocus();
        QTRY_VERIFY(grid.hasFocus());
        for (int width = 4; width <= 320; width += 7)
            compare(width, "with the focus");
        // Narrower again: the elisions kept for the wider columns are wrong now.
        for (int width = 300; width >= 20; width -= 31)
            compare(width, "narrowing");

        other.setFocus();
        QTRY_VERIFY(other.hasFocus());
        compare(150, "waiting for the focus");
        fill(grid, 3);
        compare(97, "new texts");

        // The same texts at another width, then in another font.
        other.shareLaidOutTexts(grid);
        other.setFont(font);
        fill(other, 5);
        compareGrid(other, 150, "sharing the first grid's texts");
        compare(97, "after the sharing grid painted");
        other.setFont(QFont(font.family(), 9));
        compareGrid(other, 150, "sharing the first grid's texts in its own font");
        compare(97, "after the sharing grid painted in its own font");
        other.resize(50, 20);

        font.setPointSizeF(11);
        font.setItalic(true);
        grid.setFont(font);
        compare(97, "in a larger italic font");
        compare(240, "in a larger italic font");
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
    }
};

QTEST_MAIN(TestGridText)
#include "tst_gridtext.moc"

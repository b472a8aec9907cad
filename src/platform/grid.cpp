#include "grid.h"

#include "colour.h"
#include "griddelegate.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>

namespace Tessar {

namespace {

// Keys the grid moves its own current cell with; every other stroke is its
// owner's to interpret.
bool isNavigationKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

Grid::Grid(QWidget *parent)
    : QTableWidget(parent)
{
    // Hidden before the columns come, or each header measures itself for
    // them first: a tenth of a start-up for the ten sample frames.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setColumnCount(2);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The delegate marks the current cell itself, so that a key cell keeps
    // its colour under the mark.
    setSelectionMode(QAbstractItemView::NoSelection);
    setItemDelegate(new GridDelegate(this));
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
}

int Grid::rows() const
{
    return rowCount();
}

void Grid::shareLaidOutTexts(const Grid &other)
{
    auto *mine = qobject_cast<GridDelegate *>(itemDelegate());
    const auto *theirs = qobject_cast<const GridDelegate *>(other.itemDelegate());
    if (mine && theirs)
        mine->shareTextsWith(*theirs);
}

void Grid::setRows(int rows)
{
    rows = std::max(rows, 0);
    const int oldRows = rowCount();
    setRowCount(rows);
    for (int r = oldRows; r < rows; ++r) {
        auto *caption = new QTableWidgetItem;
        caption->setFlags(Qt::ItemIsEnabled);
        setItem(r, 0, caption);
        auto *value = new QTableWidgetItem;
        value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(r, 1, value);
        QTableWidget::setRowHeight(r, defaultRowHeight());
    }
    paintCaptionColumn();
    if (rows > 0 && currentRow() < 0)
        setCurrentCell(0, 1);
}

int Grid::row() const
{
    return std::max(currentRow(), 0);
}

void Grid::setRow(int row)
{
    if (row >= 0 && row < rowCount())
        setCurrentCell(row, col());
}

int Grid::col() const
{
    const int c = currentColumn();
    return c < 0 ? 1 : c;
}

void Grid::setCol(int col)
{
    if (col >= 0 && col < columnCount() && rowCount() > 0)
        setCurrentCell(row(), col);
}

QString Grid::text() const
{
    return textAt(row(), col());
}

void Grid::setText(const QString &text)
{
    setTextAt(row(), col(), text);
}

void Grid::setCellKeyColour(std::optional<Colour> colour)
{
    QTableWidgetItem *item = cell(row(), col());
    if (!item)
        return;
    if (colour) {
        item->setData(KeyColourRole, QVariant::fromValue<uint>(*colour));
    } else {
        item->setData(KeyColourRole, QVariant());
        item->setForeground(QColor(Qt::black));
    }
}

QString Grid::textAt(int row, int col) const
{
    const QTableWidgetItem *item = cell(row, col);
    return item ? item->text() : QString();
}

void Grid::setTextAt(int row, int col, const QString &text)
{
    if (QTableWidgetItem *item = cell(row, col))
        item->setText(text);
}

std::optional<Colour> Grid::keyColourAt(int row, int col) const
{
    const QTableWidgetItem *item = cell(row, col);
    if (!item)
        return std::nullopt;
    const QVariant colour = item->data(KeyColourRole);
    return colour.isValid() ? std::optional<Colour>(Colour(colour.toUInt())) : std::nullopt;
}

Colour Grid::textColourAt(int row, int col) const
{
    return keyColourAt(row, col).value_or(Colour(0));
}

Grid::CurrentMark Grid::currentMark() const
{
    if (hasFocus())
        return CurrentMark::Filled;
    return mLastFocused ? CurrentMark::Pale : CurrentMark::None;
}

void Grid::setFrameOverCells(bool over)
{
    if (over == (mFrameOverCells != nullptr))
        return;
    if (!over) {
        delete mFrameOverCells;
        mFrameOverCells = nullptr;
        setFrameShape(QFrame::StyledPanel);
        return;
    }
    // The cells take the whole rectangle; the frame is painted on a
    // see-through layer above them that lets every click through.
    setFrameShape(QFrame::NoFrame);
    mFrameOverCells = new QWidget(this);
    mFrameOverCells->setObjectName(QStringLiteral("frame"));
    mFrameOverCells->setAttribute(Qt::WA_TransparentForMouseEvents);
    mFrameOverCells->setFocusPolicy(Qt::NoFocus);
    mFrameOverCells->setGeometry(rect());
    mFrameOverCells->installEventFilter(this);
    mFrameOverCells->raise();
    mFrameOverCells->show();
}

void Grid::setColWidth(int col, int width)
{
    if (col < 0 || col >= columnCount() || width < 0 || width == columnWidth(col))
        return;
    // Told by its header, the view would lay itself out on a timer after
    // the paint that follows the change and paint its cells a second time.
    {
        const QSignalBlocker quiet(horizontalHeader());
        setColumnWidth(col, width);
    }
    updateGeometries();
    viewport()->update();
}

int Grid::rowHeight(int row) const
{
    return (row >= 0 && row < rowCount()) ? QTableWidget::rowHeight(row) : 0;
}

void Grid::setRowHeight(int row, int height)
{
    if (row < 0 || row >= rowCount())
        return;
    QTableWidget::setRowHeight(row, height < 0 ? defaultRowHeight() : std::max(height, 1));
}

int Grid::defaultRowHeight() const
{
    // The text and a little air above and below it.
    return std::max(fontMetrics().height() + 3, 8);
}

bool Grid::event(QEvent *event)
{
    // Tab would otherwise leave the grid before its owner sees the stroke.
    if (event->type() == QEvent::KeyPress && mClaimsTabAndReturn) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QTableWidget::event(event);
}

bool Grid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mFrameOverCells && event->type() == QEvent::Paint) {
        paintFrameOverCells();
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

void Grid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    if (mFrameOverCells) {
        mFrameOverCells->setGeometry(rect());
        mFrameOverCells->raise();
    }
}

void Grid::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool isReturn = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key == Qt::Key_Escape || (isReturn && !mClaimsTabAndReturn)) {
        event->ignore();
        return;
    }
    emit keyDown(key, event->modifiers());

    if (isReturn && (event->modifiers() & Qt::ControlModifier)) {
        emit keyPress(QChar(u'\n'));
    } else if (key != Qt::Key_Delete) {
        const QString typed = event->text();
        for (QChar c : typed)
            emit keyPress(c);
    }

    if (isNavigationKey(key))
        QTableWidget::keyPressEvent(event);
    else
        event->accept();
}

void Grid::mousePressEvent(QMouseEvent *event)
{
    // A press on a caption picks the value beside it, as the caption itself
    // can never be current.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 0) {
        setFocus(Qt::MouseFocusReason);
        setCurrentCell(index.row(), 1);
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void Grid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    if (mReleaseEndsDoubleClick) {
        mReleaseEndsDoubleClick = false;
        return;
    }
    if (viewport()->rect().contains(event->position().toPoint()))
        emit clicked();
}

void Grid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 0)
        setCurrentCell(index.row(), 1);
    else
        QTableWidget::mouseDoubleClickEvent(event);
    mReleaseEndsDoubleClick = true;
    emit doubleClicked();
}

void Grid::changeEvent(QEvent *event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(defaultRowHeight());
    else if (event->type() == QEvent::PaletteChange)
        paintCaptionColumn();
}

void Grid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    if (!mLastFocused) {
        for (Grid *other : window()->findChildren<Grid *>()) {
            if (other != this && other->mLastFocused && other->window() == window()) {
                other->mLastFocused = false;
                other->viewport()->update();
            }
        }
        mLastFocused = true;
    }
    viewport()->update();
}

void Grid::focusOutEvent(QFocusEvent *event)
{
    QTableWidget::focusOutEvent(event);
    viewport()->update();
}

QModelIndex Grid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    if (!next.isValid() || next.column() != 0)
        return next;
    // Never onto the caption column: stay put, or keep to the value column.
    if (next.row() == currentIndex().row())
        return currentIndex();
    return model()->index(next.row(), 1);
}

QTableWidgetItem *Grid::cell(int row, int col) const
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return nullptr;
    return item(row, col);
}

void Grid::paintCaptionColumn()
{
    for (int r = 0; r < rowCount(); ++r) {
        if (QTableWidgetItem *caption = item(r, 0)) {
            caption->setBackground(palette().button());
            caption->setForeground(palette().buttonText());
        }
    }
}

// The frame the grid would have around its cells, in the style in use.
void Grid::paintFrameOverCells()
{
    QPainter painter(mFrameOverCells);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = mFrameOverCells->rect();
    option.frameShape = QFrame::StyledPanel;
    option.state |= QStyle::State_Sunken;
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_Frame, &option, &painter, this);
}

} // namespace Tessar

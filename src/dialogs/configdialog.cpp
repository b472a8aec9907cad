#include "configdialog.h"

#include "fixeddialog.h"
#include "platform/noquotevalidator.h"
#include "screencentre.h"

#include "core/layout/configlayout.h"
#include "core/document/numbers.h"
#include "core/document/state.h"
#include "platform/grid.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

const char TipText[] =
    "Up to ten sample labels of 255 characters each and six operator names may be "
    "entered to describe this configuration. The configuration may be changed at any "
    "time by selecting CONFIGURE from the Setup menu. This information is saved when "
    "you exit and will be loaded automatically when you re-run the software.";

QString fieldLabel(int row)
{
    return QStringLiteral("Field %1 Description").arg(row + 1);
}

Grid *makeGrid(const QString &name, QWidget *parent)
{
    auto *grid = new Grid(parent);
    grid->setObjectName(name);
    grid->setRows(ConfigVisibleRows);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Six rows' height shows six whole rows, with no room for a border.
    grid->setFrameOverCells(true);
    return grid;
}

} // namespace

ConfigDialog::ConfigDialog(State &state, std::function<void()> saveSettings, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mSaveSettings(std::move(saveSettings))
{
    setUpFixedDialog(this, QStringLiteral("Config"), QStringLiteral("Configure Software"), ConfigClientWidth, ConfigClientHeight);

    createControls();
    setTabOrder();

    // The list is filled before the count is shown: adding the first item to
    // an empty editable combo box would otherwise replace the count with "2".
    {
        const QSignalBlocker blocker(mCboNField);
        for (int n = MinFields; n <= MaxFields; ++n)
            mCboNField->addItem(QString::number(n));
        mCboNField->setEditText(numberText(mState.numField));
    }
    fieldCountChanged();
    mText1->setText(mState.company);
}

void ConfigDialog::run(QWidget *parent, State &state, std::function<void()> saveSettings)
{
    ConfigDialog dialog(state, std::move(saveSettings), parent);
    centreOnScreen(&dialog, parent);
    dialog.exec();
}

void ConfigDialog::createControls()
{
    mFraheader = new QGroupBox(this);
    mFraheader->setObjectName(QStringLiteral("Fraheader"));
    mFraheader->setGeometry(twipsRect(60, 0, 4755, 1095));

    auto *label1 = new QLabel(QStringLiteral("Company Name:"), mFraheader);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twipsRect(120, 240, 1695, 255));

    mText1 = new QLineEdit(mFraheader);
    mText1->setObjectName(QStringLiteral("Text1"));
    mText1->setValidator(new NoQuoteValidator(mText1));
    mText1->setGeometry(twipsRect(1740, 180, 2895, 285));

    auto *label15 = new QLabel(QStringLiteral("Number of Description Fields:"), mFraheader);
    label15->setObjectName(QStringLiteral("Label15"));
    label15->setGeometry(twipsRect(120, 660, 2775, 255));

    mCboNField = new QComboBox(mFraheader);
    mCboNField->setObjectName(QStringLiteral("cboNField"));
    mCboNField->setEditable(true);
    mCboNField->setInsertPolicy(QComboBox::NoInsert);
    mCboNField->setGeometry(twipsRect(3780, 600, 855, 315));
    connect(mCboNField, &QComboBox::editTextChanged, this, &ConfigDialog::fieldCountChanged);
    // Choosing the item already shown changes no text but still refills the grids.
    connect(mCboNField, &QComboBox::activated, this, &ConfigDialog::fieldCountChanged);

    mFraField = new QGroupBox(QStringLiteral("Sample Field Descriptions:"), this);
    mFraField->setObjectName(QStringLiteral("FraField"));
    mGrdfield = makeGrid(QStringLiteral("grdfield"), mFraField);

    mFraOp = new QGroupBox(QStringLiteral("Key Names:"), this);
    mFraOp->setObjectName(QStringLiteral("FraOp"));
    mGrdOp = makeGrid(QStringLiteral("GrdOp"), mFraOp);

    for (Grid *grid : {mGrdfield, mGrdOp}) {
        connect(grid, &Grid::keyDown, this, [this, grid](int key, Qt::KeyboardModifiers) { gridKeyDown(grid, key); });
        connect(grid, &Grid::keyPress, this, [this, grid](QChar character) { gridKeyPress(grid, character); });
    }

    mOkBtn = new QPushButton(QStringLiteral("OK"), this);
    mOkBtn->setObjectName(QStringLiteral("OKBtn"));
    connect(mOkBtn, &QPushButton::clicked, this, &ConfigDialog::accepted);

    mCancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(mCancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    mFraTip = new QGroupBox(QStringLiteral("Tip"), this);
    mFraTip->setObjectName(QStringLiteral("FraTip"));
    mLabel8 = new QLabel(QString::fromLatin1(TipText), mFraTip);
    mLabel8->setObjectName(QStringLiteral("Label8"));
    mLabel8->setWordWrap(true);
    mLabel8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ConfigDialog::setTabOrder()
{
    QWidget::setTabOrder(mOkBtn, mCancelBtn);
    QWidget::setTabOrder(mCancelBtn, mText1);
    QWidget::setTabOrder(mText1, mCboNField);
    QWidget::setTabOrder(mCboNField, mGrdfield);
    QWidget::setTabOrder(mGrdfield, mGrdOp);
    mOkBtn->setFocus();
    // Return anywhere but on Cancel is OK, in the grids too.
    mOkBtn->setDefault(true);
}

void ConfigDialog::fieldCountChanged()
{
    // Rewriting the text below re-enters through editTextChanged.
    if (mChangingCount)
        return;
    const QScopedValueRollback guard(mChangingCount, true);

    // Counts outside 2..10 are rewritten at once so the box shows the count
    // in effect. A typed fraction is rounded but left as typed, so that
    // typing can go on; numField itself is always a whole number.
    const double value = leadingNumber(mCboNField->currentText());
    int count;
    if (!(value >= MinFields)) {
        count = MinFields;
        mCboNField->setEditText(QString::number(MinFields));
    } else if (value > MaxFields) {
        count = MaxFields;
        mCboNField->setEditText(QString::number(MaxFields));
    } else {
        count = std::clamp(roundToInt(value), MinFields, MaxFields);
    }
    mState.numField = float(count);
    sizeform();
}

void ConfigDialog::sizeform()
{
    const int fields = std::clamp(mState.fieldCount(), MinFields, MaxFields);

    // Refilling from the shared state on purpose: a change of the row count
    // discards captions and key names typed but not yet confirmed.
    mGrdfield->setRows(fields);
    for (int r = 0; r < fields; ++r) {
        mGrdfield->setTextAt(r, 0, fieldLabel(r));
        mGrdfield->setTextAt(r, 1, mState.fieldName[std::size_t(r)]);
    }
    mGrdOp->setRows(KeyCount);
    for (int r = 0; r < KeyCount; ++r) {
        mGrdOp->setTextAt(r, 0, QStringLiteral("Key %1").arg(r + 1));
        mGrdOp->setTextAt(r, 1, mState.keyName[std::size_t(r + 1)]);
    }

    for (Grid *grid : {mGrdfield, mGrdOp}) {
        for (int r = 0; r < grid->rows(); ++r)
            grid->setRowHeight(r, -1);
    }

    ConfigLayoutInput input;
    input.innerWidth = ConfigClientWidth;
    input.rowHeight = int(std::lround(pixelsToTwips(mGrdfield->rowHeight(0))));
    const ConfigLayout layout = layoutConfig(input);

    mFraField->setGeometry(toPixels(layout.fraField));
    mGrdfield->setGeometry(toPixels(layout.grdfield));
    mFraOp->setGeometry(toPixels(layout.fraOp));
    mGrdOp->setGeometry(toPixels(layout.grdOp));
    mOkBtn->setGeometry(toPixels(layout.okBtn));
    mCancelBtn->setGeometry(toPixels(layout.cancelBtn));
    mFraTip->setGeometry(toPixels(layout.fraTip));
    placeTip();
    setFixedHeight(twipsToPixels(configClientHeight(layout)));

    // Column 0 fits the longest caption with a little room; column 1 takes
    // what the grid shows besides it, leaving room for the scroll bar the
    // field grid needs when it has more rows than it shows.
    const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("Field 10 Description xx"));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mGrdfield);
    for (Grid *grid : {mGrdfield, mGrdOp}) {
        const int inner = grid->width() - (grid->rows() > ConfigVisibleRows ? scrollBar : 0);
        grid->setColWidth(0, labelWidth);
        grid->setColWidth(1, std::max(0, inner - labelWidth));
        grid->setCol(1);
    }
}

// The tip frame keeps its height whatever the font; the text wraps in
// whatever whole lines fit inside it. Where the desktop's font is wider than
// the one the frame was made for, the tip's letters get a little smaller
// until the whole text fits; one too wide even then still leaves the whole
// text a pointer's rest away.
void ConfigDialog::placeTip()
{
    constexpr double SmallestTipSize = 6.5;   // points
    const QRect design = twipsRect(120, 240, 4455, 1335);
    const int room = mFraTip->contentsRect().bottom() + 1 - design.top();
    QFont tipFont = font();
    bool cut = true;
    for (;;) {
        mLabel8->setFont(tipFont);
        QRect place = design;
        const int lineHeight = std::max(mLabel8->fontMetrics().lineSpacing(), 1);
        place.setHeight(std::max(room / lineHeight, 1) * lineHeight);
        mLabel8->setGeometry(place);
        cut = mLabel8->heightForWidth(place.width()) > place.height();
        if (!cut || tipFont.pointSizeF() - 0.25 < SmallestTipSize)
            break;
        tipFont.setPointSizeF(tipFont.pointSizeF() - 0.25);
    }
    mLabel8->setToolTip(cut ? mLabel8->text() : QString());
}

bool ConfigDialog::cellEditable(const Grid *grid) const
{
    if (grid->col() != 1 || grid->row() < 0 || grid->row() >= grid->rows())
        return false;
    // Row 0 of the field grid captions the key row, which is always "Key".
    return !(grid == mGrdfield && grid->row() == 0);
}

void ConfigDialog::gridKeyDown(Grid *grid, int key)
{
    if (!cellEditable(grid))
        return;
    if (key == Qt::Key_Backspace) {
        QString text = grid->text();
        if (!text.isEmpty()) {
            text.chop(1);
            grid->setText(text);
        }
    } else if (key == Qt::Key_Delete) {
        grid->setText(QString());
    }
}

void ConfigDialog::gridKeyPress(Grid *grid, QChar character)
{
    if (!cellEditable(grid))
        return;
    // Printable ASCII only. A double quote would end the value early when
    // the sample file is read back, so it is refused here.
    const char16_t code = character.unicode();
    if (code < 32 || code > 126 || code == u'"')
        return;
    grid->setText(grid->text() + character);
}

void ConfigDialog::accepted()
{
    mState.company = mText1->text();
    const int fields = std::min({mState.fieldCount(), mGrdfield->rows(), int(mState.fieldName.size())});
    for (int r = 0; r < fields; ++r)
        mState.fieldName[std::size_t(r)] = mGrdfield->textAt(r, 1);
    mState.fieldName[0] = QStringLiteral("Key");
    for (int k = 1; k <= KeyCount; ++k)
        mState.keyName[std::size_t(k)] = mGrdOp->textAt(k - 1, 1);
    if (mSaveSettings)
        mSaveSettings();
    accept();
}

} // namespace Tessar

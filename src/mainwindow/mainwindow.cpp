#include "mainwindow.h"

#include "core/document/document.h"
#include "core/plate/plategeometry.h"
#include "core/files/recovery.h"
#include "core/files/samplefile.h"
#include "dialogs/stagepositionsdialog.h"
#include "documenthistory.h"
#include "recoverykeeper.h"
#include "platform/captionframe.h"
#include "platform/colour.h"
#include "platform/elidedlabel.h"
#include "platform/grid.h"
#include "platform/twips.h"
#include "platform/noquotevalidator.h"
#include "plate/picwell.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QWindowStateChangeEvent>

namespace Tessar {

namespace {

constexpr double CompanyPointSize = 13.5;
constexpr double GridPointSize = 8.25;

// Company names and file names are shown as typed, never as markup, and
// end in an ellipsis when too long.
QLabel *plainLabel(QWidget *parent, const char *name)
{
    auto *label = new ElidedLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

MainWindow::MainWindow(State &state, QWidget *parent)
    : QMainWindow(parent)
    , mState(state)
{
    setObjectName(QStringLiteral("kel95"));
    setWindowTitle(QStringLiteral("Corvant XY Stage"));
    mHistory = new DocumentHistory(this);
    mRecovery = new RecoveryKeeper(newRecoveryFilePath(), [this] {
        // What the user sees is what comes back: the description as typed.
        const QString saved = std::exchange(mState.fileDesc, TxtFileDesc->text());
        RecoveryKeeper::Snapshot snapshot{sampleFileBytes(mState), mState.filePath};
        mState.fileDesc = saved;
        return snapshot;
    }, this);
    connect(mHistory, &DocumentHistory::changed, this, [this] {
        if (mHistory->isModified())
            mRecovery->schedule();
    });
    connect(mHistory, &DocumentHistory::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            mRecovery->discard();
    });
    createControls();
    createMenus();
    updateRecoverEntry();
    mPlateMap = std::make_unique<PlateMap>(mState, *mPicWell);
    mPlateMouse = std::make_unique<PlateMouse>(mState, *mPlateMap);
    connect(mPicWell, &PicWell::mouseMoved, this, [this](float x, float y) { PicWell_MouseMove(x, y); });
    connect(mPicWell, &PicWell::mousePressed, this,
            [this](float x, float y, Qt::KeyboardModifiers modifiers) { PicWell_MouseDown(x, y, modifiers); });
    connect(mPicWell, &PicWell::mouseReleased, this, [this](float x, float y) { PicWell_MouseUp(x, y); });
    connect(mPicWell, &PicWell::keyPressed, this, [this](int key) { PicWell_KeyDown(key); });
    mLastStageExport = std::make_unique<StageExport>();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    mClient = new QWidget(this);
    mClient->setObjectName(QStringLiteral("client"));
    setCentralWidget(mClient);
    // The client area's size is the one the layout works from.
    mClient->installEventFilter(this);

    fraHeader = new QGroupBox(mClient);
    fraHeader->setObjectName(QStringLiteral("fraHeader"));
    LblCompany = plainLabel(fraHeader, "LblCompany");
    QFont companyFont = font();
    companyFont.setPointSizeF(CompanyPointSize);
    companyFont.setBold(true);
    LblCompany->setFont(companyFont);
    LblFilename = plainLabel(fraHeader, "LblFilename");
    TxtFileDesc = new QLineEdit(fraHeader);
    TxtFileDesc->setObjectName(QStringLiteral("TxtFileDesc"));
    TxtFileDesc->setValidator(new NoQuoteValidator(TxtFileDesc));
    TxtFileDesc->installEventFilter(this);
    connect(TxtFileDesc, &QLineEdit::textEdited, this, [this](const QString &text) { descriptionEdited(text); });
    CmdList = new QPushButton(QStringLiteral("List"), fraHeader);
    CmdList->setObjectName(QStringLiteral("CmdList"));
    connect(CmdList, &QPushButton::clicked, this, [this] { CmdList_Click(); });

    FraPic = new QGroupBox(mClient);
    FraPic->setObjectName(QStringLiteral("FraPic"));
    mPicWell = new PicWell(FraPic);
    // The wheel scrolls the samples over the map and the frames; the map
    // also names the well under the pointer in a tooltip.
    mPicWell->installEventFilter(this);

    fraMain = new QGroupBox(mClient);
    fraMain->setObjectName(QStringLiteral("fraMain"));
    fraMain->installEventFilter(this);
    for (int i = 0; i < MaxFrames; ++i) {
        auto *frame = new CaptionFrame(fraMain);
        frame->setObjectName(QStringLiteral("fraSample") + QString::number(i));
        frame->installEventFilter(this);
        fraSample[std::size_t(i)] = frame;
    }
    // The first grid sets the row height every layout works from.
    makeGrid(0);

    // A click on the map takes the focus, so the menu shortcuts work from
    // there; Tab reaches it after the sample frames.
    mPicWell->setFocusPolicy(Qt::StrongFocus);

    vsb = new QScrollBar(Qt::Vertical, mClient);
    vsb->setObjectName(QStringLiteral("vsb"));
    vsb->setRange(1, 1);
    connect(vsb, &QScrollBar::valueChanged, this, [this](int value) { vsb_Change(value); });

    StatusBar = plainLabel(mClient, "StatusBar");
}

void MainWindow::makeGrid(int frame)
{
    for (int i = 0; i <= frame; ++i) {
        if (GrdID[std::size_t(i)])
            continue;
        auto *grid = new Grid(fraSample[std::size_t(i)]);
        grid->setObjectName(QStringLiteral("GrdID") + QString::number(i));
        QFont gridFont = font();
        gridFont.setPointSizeF(GridPointSize);
        grid->setFont(gridFont);
        grid->setClaimsTabAndReturn(true);
        if (i > 0)
            grid->shareLaidOutTexts(*GrdID[0]);
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
        connect(grid, &Grid::clicked, this, [this, i] { GrdID_Click(i); });
        connect(grid, &Grid::doubleClicked, this, [this, i] { GrdID_DblClick(i); });
        connect(grid, &Grid::keyDown, this,
                [this, i](int key, Qt::KeyboardModifiers modifiers) { GrdID_KeyDown(i, key, modifiers); });
        connect(grid, &Grid::keyPress, this, [this, i](QChar character) { GrdID_KeyPress(i, character); });
        // Tab goes through the frames in order, then on to the map.
        if (i > 0)
            QWidget::setTabOrder(GrdID[std::size_t(i - 1)], grid);
        QWidget::setTabOrder(grid, mPicWell);
        GrdID[std::size_t(i)] = grid;
        if (fraSample[std::size_t(i)]->isVisible())
            grid->show();
    }
}

Grid *MainWindow::gridAt(int frame)
{
    frame = std::clamp(frame, 0, MaxFrames - 1);
    if (!GrdID[std::size_t(frame)]) {
        makeGrid(frame);
        // Made between layouts, it takes the one the other grids have.
        if (mLaidOutSize.isValid())
            layOutGrid(frame);
    }
    return GrdID[std::size_t(frame)];
}

void MainWindow::loadSettings(QSettings &store)
{
    QSizeF screenTwips(pixelsToTwips(1024), pixelsToTwips(768));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        screenTwips = QSizeF(pixelsToTwips(screen->geometry().width()), pixelsToTwips(screen->geometry().height()));
    const WindowPlacement stored = LoadSettings(mState, store, screenTwips, QCoreApplication::applicationDirPath());
    initialize5();
    place(stored);
    sizeform();
    focusFirstSample();
}

void MainWindow::saveSettings(QSettings &store) const
{
    SaveSettings(mState, store, placement());
}

WindowPlacement MainWindow::placement() const
{
    QPoint topLeft = pos();
    QSize size = this->size();
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        // The place the window returns to, not the one it has for now. The
        // normal geometry is the client area's, so it is turned into the
        // frame's with the frame the window had then.
        const QRect normal = normalGeometry();
        topLeft = normal.topLeft() - mNormalFrameOffset.value_or(geometry().topLeft() - pos());
        size = normal.size();
    }
    return placementToStore(QRect(topLeft, size), mStoredPlacement);
}

void MainWindow::place(const WindowPlacement &placement)
{
    const QRect stored(twipsToPixels(placement.left), twipsToPixels(placement.top),
                       twipsToPixels(placement.width), twipsToPixels(placement.height));
    mStoredPlacement = {placement, stored};
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QScreen *primary = QGuiApplication::primaryScreen();
    const QRect window = restoredGeometry(stored, screens, primary ? primary->availableGeometry() : QRect());
    move(window.topLeft());
    resize(window.size());
    // The client area must have its final size before the first layout.
    if (layout())
        layout()->activate();
}

void MainWindow::sizeform()
{
    mState.fieldName[0] = QStringLiteral("Key");
    mLaidOutSize = mClient->size();
    const QFontMetricsF metrics(font());
    LayoutInput input;
    input.width = pixelsToTwips(mClient->width());
    input.height = pixelsToTwips(mClient->height());
    input.numField = mState.numField;
    input.fieldName = mState.fieldName;
    input.wellCount = mState.wellCount;
    input.rowHeight = pixelsToTwips(gridAt(0)->defaultRowHeight());
    input.textWidth = [&metrics](const QString &text) { return pixelsToTwips(metrics.horizontalAdvance(text)); };
    mLayout = sizeformLayout(input, mLayout);
    mState.nFrames = mLayout.nFrames;
    // Every well is ringed, marked and filled below: drawn once, at the end.
    const PlateMap::Batch drawOnce(*mPlateMap);
    applyLayout();
    showprofile();
    remarkSelection();
    // The wells have moved under the pointer: the next move says which is there.
    if (mPlateMouse)
        mPlateMouse->reset();
    StatusBar->clear();

    // Whatever a file or a dialog left behind, the frames only ever show
    // samples the table holds.
    if (mState.wellCount > 0)
        mState.topSample = std::clamp(mState.topSample, 1, mState.wellCount);
    mState.curGrid = std::clamp(mState.curGrid, 0, MaxFrames - 1);
    mState.curRow = std::clamp(mState.curRow, 0, std::max(mLayout.gridRows - 1, 0));

    fillsample(mState.topSample);
    fillallpic();
}

void MainWindow::applyLayout()
{
    const WindowLayout &l = mLayout;
    fraHeader->setGeometry(toPixels(l.fraHeader));
    CmdList->setGeometry(toPixels(l.CmdList));
    LblCompany->setGeometry(toPixels(l.LblCompany));
    LblFilename->setGeometry(toPixels(l.LblFilename));
    TxtFileDesc->setGeometry(toPixels(l.TxtFileDesc));
    FraPic->setGeometry(toPixels(l.FraPic));
    mPicWell->setGeometry(toPixels(l.PicWell));
    StatusBar->setGeometry(toPixels(l.StatusBar));
    vsb->setGeometry(toPixels(l.vsb));
    fraMain->setGeometry(toPixels(l.fraMain));

    QWidget *const focus = focusWidget();
    for (int i = 0; i < MaxFrames; ++i) {
        fraSample[std::size_t(i)]->setGeometry(toPixels(l.fraSample[std::size_t(i)]));
        if (i < l.nFrames || GrdID[std::size_t(i)]) {
            makeGrid(i);
            layOutGrid(i);
        }
        fraSample[std::size_t(i)]->setVisible(i < l.nFrames);
    }
    // A frame that no longer fits takes the focus with it; it goes to the
    // first frame, not on through the window to the description box.
    if (focus && !focus->isVisibleTo(this))
        focusFirstSample();

    vsb->setRange(l.vsbMin, l.vsbMax);
    vsb->setSingleStep(l.vsbSmallChange);
    vsb->setPageStep(l.vsbLargeChange);
}

void MainWindow::layOutGrid(int frame)
{
    const WindowLayout &l = mLayout;
    const auto i = std::size_t(frame);
    Grid *grid = GrdID[i];
    // The grid's border comes on top of its rows, so none is cut off.
    const int border = 2 * grid->frameWidth();
    QRect place = toPixels(l.GrdID[i]);
    place.setHeight(place.height() + border);
    grid->setGeometry(place);
    grid->setRows(l.gridRows);
    grid->setColWidth(0, twipsToPixels(l.captionWidth));
    grid->setColWidth(1, std::max(twipsToPixels(l.valueWidth) - border, 0));
    for (int f = 0; f < l.gridRows; ++f) {
        grid->setRowHeight(f, -1);
        grid->setTextAt(f, 0, mState.fieldName[std::size_t(f)]);
    }
}

// The sample grids are where the keyboard works: typing goes into a
// sample, and the menu shortcuts are not taken by a text box first.
void MainWindow::focusFirstSample()
{
    if (mState.nFrames > 0)
        gridAt(0)->setFocus(Qt::OtherFocusReason);
    else
        mPicWell->setFocus(Qt::OtherFocusReason);
}

void MainWindow::initialize5()
{
    clearSelection();
    mnuEditPaste->setEnabled(false);
    newDocument(mState);
    LblFilename->setText(QStringLiteral("Filename: Untitled"));
    TxtFileDesc->setText(QStringLiteral("Description: "));
    mDescriptionShown = TxtFileDesc->text();
    if (mState.colorsOn == u"yes")
        mnuSetupAssign->setChecked(true);
    nameInsertEntries();
    LblCompany->setText(mState.company);
    vsb->setValue(1);
}

void MainWindow::nameInsertEntries()
{
    for (int k = 1; k <= KeyCount; ++k)
        mnuInsertOP[std::size_t(k)]->setText(mState.keyName[std::size_t(k)]);
}

QString MainWindow::frameCaption(int s) const
{
    if (s < 1 || s > mState.wellCount)
        return {};
    const WellName name = spotname(mState, s);
    return QStringLiteral("Row ") + name.letter + QStringLiteral(" , Column  ") + QString::number(name.number);
}

void MainWindow::fillsample(int first)
{
    const int frames = std::clamp(mState.nFrames, 0, MaxFrames);
    for (int i = frames; i < MaxFrames; ++i)
        fraSample[std::size_t(i)]->setTitle(QString());

    const int rows = std::clamp(mState.fieldCount(), 0, MaxFields);
    for (int i = 0; i < frames; ++i) {
        fraSample[std::size_t(i)]->setTitle(frameCaption(first + i));
        Grid *grid = gridAt(i);
        const int s = mState.topSample + i;
        grid->setCol(1);
        for (int f = 0; f < rows; ++f) {
            const bool inTable = mState.sampleTable.contains(s, f);
            std::optional<Colour> colour;
            if (f == 0 && inTable) {
                const int k = keyNamed(mState, mState.sampleTable(s, 0));
                if (k > 0)
                    colour = mState.keyColor[std::size_t(k)];
            }
            grid->setRow(f);
            grid->setCellKeyColour(colour);
            grid->setText(inTable ? mState.sampleTable(s, f) : QString());
        }
    }

    mPlateMap->markFrames(mState.topSample, frames);

    if (mState.curGrid >= 0 && mState.curGrid < MaxFrames)
        gridAt(mState.curGrid)->setRow(mState.curRow);
    const int current = mState.topSample + mState.curGrid;
    fillcell(current, SampleHasData(mState, current) ? 1 : 0);
    if (mState.topSample != 0)
        vsb->setValue(mState.topSample);
}

void MainWindow::showprofile()
{
    mPlateMap->showprofile();
}

void MainWindow::fillallpic()
{
    mPlateMap->fillallpic();
}

void MainWindow::fillcell(int s, int hasData)
{
    mPlateMap->fillcell(s, hasData);
}

void MainWindow::hilite(int s)
{
    mPlateMap->hilite(s);
}

void MainWindow::fillpos(int target)
{
    mPlateMap->fillpos(target);
}

void MainWindow::vsb_Change(int value)
{
    if (value != mState.topSample)
        mHistory->breakRun();
    mState.topSample = value;
    fillsample(mState.topSample);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mWatchedModal && event->type() == QEvent::Hide)
        QTimer::singleShot(0, this, [this] { handOverPending(); });
    if (watched == TxtFileDesc) {
        // Undo and Redo in the description box undo the document's steps,
        // the box's own among them, not a second history of the box's.
        if (event->type() == QEvent::ShortcutOverride) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
                return true;
        } else if (event->type() == QEvent::FocusOut) {
            mHistory->breakRun();
        }
    }
    if (event->type() == QEvent::Wheel && mPlateMap && scrollsSamples(watched)) {
        scrollByWheel(static_cast<QWheelEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::ToolTip && watched == mPicWell && mPlateMap) {
        PicWell_ToolTip(static_cast<QHelpEvent *>(event));
        return true;
    }
    // Showing the window reports the size it was already laid out for;
    // only a real change of size needs the whole layout again.
    if (watched == mClient && event->type() == QEvent::Resize && mPlateMap
        && static_cast<QResizeEvent *>(event)->size() != mLaidOutSize)
        sizeform();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent *event)
{
    // Leaving the normal state the frame still has its normal borders;
    // once maximised it often has none.
    constexpr Qt::WindowStates Away = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange
        && !(static_cast<QWindowStateChangeEvent *>(event)->oldState() & Away) && (windowState() & Away))
        mNormalFrameOffset = geometry().topLeft() - pos();
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (mUnloaded)
        return;
    mUnloaded = true;
    // The program ends without asking; what is in no file survives it.
    if (isModified())
        mRecovery->flush();
    else
        mRecovery->discard();
    writeSettings();
    emit unloaded();
}

void MainWindow::writeSettings() const
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Corvant"), QStringLiteral("Corvant"));
    saveSettings(store);
}

} // namespace Tessar

// The main window's commands that must each fit in one frame at 60 Hz, on a
// plate with data in every well: redrawing the plate map, laying the window
// out again after a resize, a Find that finds nothing and a Fill Down; and
// the editing actions as a user makes them, through the keyboard, the menu
// and the mouse, each until the window has painted what it changed.

#include "windowbench.h"
#include "paintcount.h"

#include "platedocument.h"

#include "core/files/samplefile.h"
#include "core/editing/search.h"
#include "core/document/state.h"
#include "mainwindow/documenthistory.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/grid.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace Tessar {

namespace {

// Two client sizes a user might drag the window between; both show all ten
// frames' worth of room at 1536 wells.
constexpr std::array<QSize, 2> WindowSizes{QSize(1024, 768), QSize(1000, 740)};
constexpr int FillAllForty = 7;   // Edit > Fill Down (all information) > 40 Samples

// The editing actions, the user's way. Each works on a part of the plate
// of its own and leaves it as it found it, so the order the runs come in
// changes nothing.
constexpr int TypedSample = 1;      // typing, and Insert on its key row
constexpr int FillSource = 1001;    // fills 1002 to 1041, undone untimed
constexpr int UndoneSource = 1101;  // the Fill Down undone and redone
constexpr int DragFrom = 1401;      // moved to DragTo and back, which starts empty
constexpr int DragTo = 1402;
constexpr int TypedRun = 16;        // characters typed before they are erased untimed

struct PlateWindow
{
    explicit PlateWindow(int wells)
        : state(makePlateDocument(wells).state), window(state)
    {
    }

    State state;
    MainWindow window;
    std::size_t sizeIndex = 0;
};

std::unique_ptr<PlateWindow> window96;
std::unique_ptr<PlateWindow> window1536;

// A text as long as the stored ones that no field holds.
const QString Missing = QStringLiteral("S0 F99 no field of the plate holds this.");

// What a user sees before the next event: the posted work done too.
void settle()
{
    QCoreApplication::processEvents();
}

// Answers No to the question a search that finds nothing asks, as soon as
// it shows. Counts the answers.
class NotFoundAnswer
{
public:
    NotFoundAnswer()
    {
        mTimer.setInterval(0);
        QObject::connect(&mTimer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                box->done(QMessageBox::No);
                ++mAnswers;
            }
        });
        mTimer.start();
    }

    int answers() const { return mAnswers; }

private:
    QTimer mTimer;
    int mAnswers = 0;
};

// Sample s in the first frame and current, whatever ran before.
void showFirst(PlateWindow &w, int s)
{
    w.state.topSample = s;
    w.state.curGrid = 0;
    w.state.curRow = 1;
    w.window.fillsample(s);
}

// The new size as the window system gives it, and the one paint that
// follows it, as a user's resize costs them.
void resizeAndRepaint(PlateWindow &w)
{
    w.sizeIndex = 1 - w.sizeIndex;
    w.window.resize(WindowSizes[w.sizeIndex]);
    settle();
}

void BM_PlateRedraw1536(benchmark::State &bm)
{
    MainWindow &window = window1536->window;
    for (auto _ : bm) {
        window.showprofile();
        window.fillallpic();
    }
}

void BM_ResizeRepaint(benchmark::State &bm, int wells)
{
    PlateWindow &w = wells == 96 ? *window96 : *window1536;
    for (auto _ : bm)
        resizeAndRepaint(w);
}

void BM_FindNothingSearch1536(benchmark::State &bm)
{
    State &state = window1536->state;
    for (auto _ : bm)
        benchmark::DoNotOptimize(runSearch(state, Missing, RestartFromFirst, [] { return false; }).found);
}

void BM_FindNextNothing1536(benchmark::State &bm)
{
    PlateWindow &w = *window1536;
    w.state.findText = Missing;
    NotFoundAnswer answer;
    for (auto _ : bm) {
        w.window.mnuSearchFindNext_Click();
        settle();
    }
}

void BM_FillDownAll40(benchmark::State &bm)
{
    showFirst(*window1536, TypedSample);
    MainWindow &window = window1536->window;
    for (auto _ : bm)
        window.mnuEditFillAll_Click(FillAllForty);
}

void BM_FillDownAll40Repaint(benchmark::State &bm)
{
    showFirst(*window1536, TypedSample);
    MainWindow &window = window1536->window;
    for (auto _ : bm) {
        window.mnuEditFillAll_Click(FillAllForty);
        window.repaint();
        settle();
    }
}

// One step back or forth through the history: a Fill Down of 40 samples
// with every row, undone and redone in turn.
void BM_UndoFillDown40(benchmark::State &bm, bool repaint)
{
    PlateWindow &w = *window1536;
    DocumentHistory &history = w.window.history();
    // Samples no other command timed here leaves filled, so the Fill Down
    // changes them and is the step on top.
    showFirst(w, UndoneSource);
    w.window.mnuEditFillAll_Click(FillAllForty);
    for (auto _ : bm) {
        if (history.canRedo())
            history.redo();
        else
            history.undo();
        if (repaint) {
            w.window.repaint();
            settle();
        }
    }
    if (!history.canRedo())
        history.undo();
}

Grid *gridOf(PlateWindow &w, int frame)
{
    return w.window.findChild<Grid *>(QStringLiteral("GrdID") + QString::number(frame));
}

// Sample s in the first frame and its row `row` clicked, in the active
// window: where a user starts editing.
void pointAt(PlateWindow &w, int s, int row)
{
    QApplication::setActiveWindow(&w.window);
    w.window.findChild<QScrollBar *>(QStringLiteral("vsb"))->setValue(s);
    Grid *grid = gridOf(w, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
    settle();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (QWidget *target = QApplication::focusWidget())
        QTest::keyClick(target, Qt::Key(key), modifiers);
}

void type(char character)
{
    if (QWidget *target = QApplication::focusWidget())
        QTest::keyClick(target, character);
}

QPoint wellPoint(PlateWindow &w, int s)
{
    const PicWell *picture = w.window.findChild<PicWell *>();
    const QPointF centre = picture->toPixel(w.state.spotX[std::size_t(s)], w.state.spotY[std::size_t(s)]);
    return picture->mapTo(&w.window, centre.toPoint());
}

// Pointing at a well, pressing, moving to another and letting go, as the
// window system delivers it.
void drag(PlateWindow &w, int from, int to)
{
    QWindow *handle = w.window.windowHandle();
    const QPoint a = wellPoint(w, from);
    const QPoint b = wellPoint(w, to);
    QTest::mouseMove(handle, a);
    QTest::mousePress(handle, Qt::LeftButton, {}, a);
    QTest::mouseMove(handle, b);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, b);
}

QAction *fillAllForty(PlateWindow &w)
{
    return w.window.findChild<QAction *>(QStringLiteral("mnuEditFillAll") + QString::number(FillAllForty));
}

void BM_TypeCharacter(benchmark::State &bm)
{
    PlateWindow &w = *window1536;
    pointAt(w, TypedSample, 1);
    int typed = 0;
    for (auto _ : bm) {
        type('x');
        settle();
        if (++typed == TypedRun) {
            bm.PauseTiming();
            for (; typed > 0; --typed)
                press(Qt::Key_Backspace);
            settle();
            bm.ResumeTiming();
        }
    }
    for (; typed > 0; --typed)
        press(Qt::Key_Backspace);
    settle();
}

// Insert > Operator 1 to 6 by their keys, in turn, so each changes the key.
void BM_InsertKey(benchmark::State &bm)
{
    PlateWindow &w = *window1536;
    pointAt(w, TypedSample, 1);
    int key = 0;
    for (auto _ : bm) {
        press(Qt::Key_F4 + key);
        key = (key + 1) % KeyCount;
        settle();
    }
}

// Every well picked by its keys on the map, then an Insert key for all of
// them, with the paint: picking marks every well and keying redraws each.
void BM_SelectAllInsertKey(benchmark::State &bm)
{
    PlateWindow &w = *window1536;
    QApplication::setActiveWindow(&w.window);
    PicWell *picture = w.window.findChild<PicWell *>();
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->mapFrom(&w.window, wellPoint(w, TypedSample)));
    settle();
    int key = 0;
    for (auto _ : bm) {
        press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        press(Qt::Key_F4 + key);
        key = (key + 1) % KeyCount;
        settle();
        bm.PauseTiming();
        press(Qt::Key_Escape);
        settle();
        bm.ResumeTiming();
    }
}

// The menu entry as a click on it runs it.
void BM_FillDownMenu(benchmark::State &bm)
{
    PlateWindow &w = *window1536;
    pointAt(w, FillSource, 1);
    QAction *fill = fillAllForty(w);
    for (auto _ : bm) {
        fill->activate(QAction::Trigger);
        settle();
        bm.PauseTiming();
        press(Qt::Key_Z, Qt::ControlModifier);
        settle();
        bm.ResumeTiming();
    }
}

void BM_DragMove(benchmark::State &bm)
{
    PlateWindow &w = *window1536;
    bool there = false;
    for (auto _ : bm) {
        drag(w, there ? DragTo : DragFrom, there ? DragFrom : DragTo);
        there = !there;
        settle();
    }
    if (there) {
        drag(w, DragTo, DragFrom);
        settle();
    }
}

void BM_UndoRedoKeys(benchmark::State &bm)
{
    PlateWindow &w = *window1536;
    pointAt(w, UndoneSource, 1);
    fillAllForty(w)->activate(QAction::Trigger);
    settle();
    bool undone = false;
    for (auto _ : bm) {
        press(undone ? Qt::Key_Y : Qt::Key_Z, Qt::ControlModifier);
        undone = !undone;
        settle();
    }
    if (!undone) {
        press(Qt::Key_Z, Qt::ControlModifier);
        settle();
    }
}

bool exposed(const PlateWindow &w)
{
    const QWindow *handle = w.window.windowHandle();
    return handle && handle->isExposed();
}

bool open(std::unique_ptr<PlateWindow> &w, int wells, QString *error)
{
    w = std::make_unique<PlateWindow>(wells);
    w->window.resize(WindowSizes[0]);
    w->window.show();
    for (int i = 0; i < 100 && !exposed(*w); ++i)
        settle();
    if (!exposed(*w)) {
        *error = QStringLiteral("the window never showed");
        return false;
    }
    settle();
    // The resize must lay the window out by itself, or the timing would
    // leave that work out.
    const double width = w->window.layoutInTwips().fraMain.width;
    resizeAndRepaint(*w);
    if (w->window.layoutInTwips().fraMain.width == width) {
        *error = QStringLiteral("a resize does not lay the window out again");
        return false;
    }
    return true;
}

// The timed commands must do their whole work on these windows.
bool check(QString *error)
{
    PlateWindow &w = *window1536;
    State &st = w.state;
    if (st.nFrames < 1 || st.topSample != 1 || st.curGrid != 0) {
        *error = QStringLiteral("the 1536-well window shows no frames");
        return false;
    }
    w.window.showprofile();
    w.window.fillallpic();
    const QColor last = w.window.plateMap().pixelOf(st.wellCount);
    if (!last.isValid() || last == QColor(Qt::white)) {
        *error = QStringLiteral("the plate map shows no disc for the last well");
        return false;
    }

    st.findText = Missing;
    {
        NotFoundAnswer answer;
        w.window.mnuSearchFindNext_Click();
        settle();
        if (answer.answers() != 1 || st.topSample != 1) {
            *error = QStringLiteral("Find Next did not search the whole plate in vain");
            return false;
        }
    }

    const int source = st.topSample + st.curGrid;
    w.window.mnuEditFillAll_Click(FillAllForty);
    const int fields = st.fieldCount();
    if (st.sampleTable(source + 40, fields - 1) != st.sampleTable(source, fields - 1)
        || st.sampleTable(source + 41, fields - 1) == st.sampleTable(source, fields - 1)) {
        *error = QStringLiteral("Fill Down did not fill exactly 40 samples");
        return false;
    }
    return true;
}

// The timed actions must reach the window the way a user's do, change the
// document and be painted by the time the events are processed.
bool checkEditing(QString *error)
{
    for (PlateWindow *resized : {window96.get(), window1536.get()}) {
        PaintCount cells(gridOf(*resized, 0)->viewport());
        PaintCount map(resized->window.findChild<PicWell *>());
        resizeAndRepaint(*resized);
        if (cells.count == 0 || map.count == 0) {
            *error = QStringLiteral("a resize is not painted by the time its events are processed");
            return false;
        }
    }
    PlateWindow &w = *window1536;
    State &st = w.state;
    // The drag needs an empty well to drop on.
    for (int f = 0; f <= st.sampleTable.lastField(); ++f)
        st.sampleTable(DragTo, f).clear();
    w.window.fillallpic();

    pointAt(w, TypedSample, 1);
    if (QApplication::focusWidget() != gridOf(w, 0)) {
        *error = QStringLiteral("the first sample frame did not take the keyboard");
        return false;
    }
    PaintCount gridPaints(gridOf(w, 0)->viewport());
    PaintCount mapPaints(w.window.findChild<PicWell *>());
    const QString before = st.sampleTable(TypedSample, 1);
    type('x');
    settle();
    if (st.sampleTable(TypedSample, 1) != before + u'x' || gridPaints.count == 0) {
        *error = QStringLiteral("a typed character did not reach the cell on screen");
        return false;
    }
    press(Qt::Key_Backspace);
    press(Qt::Key_F4);
    press(Qt::Key_F5);
    settle();
    if (st.sampleTable(TypedSample, 0) != st.keyName[2] || mapPaints.count == 0) {
        *error = QStringLiteral("the Insert keys did not change the key on the map");
        return false;
    }

    const QString moved = st.sampleTable(DragFrom, 1);
    drag(w, DragFrom, DragTo);
    settle();
    if (st.sampleTable(DragTo, 1) != moved || SampleHasData(st, DragFrom)) {
        *error = QStringLiteral("a drag on the map did not move the sample");
        return false;
    }
    press(Qt::Key_Z, Qt::ControlModifier);
    settle();
    if (st.sampleTable(DragFrom, 1) != moved || SampleHasData(st, DragTo)) {
        *error = QStringLiteral("Ctrl+Z did not undo the move");
        return false;
    }
    return true;
}

} // namespace

bool prepareWindows(QString *error)
{
    if (!open(window96, 96, error) || !open(window1536, 1536, error) || !check(error)
        || !checkEditing(error)) {
        releaseWindows();
        return false;
    }
    return true;
}

void releaseWindows()
{
    window96.reset();
    window1536.reset();
}

BENCHMARK(BM_PlateRedraw1536)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ResizeRepaint, 96, 96)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ResizeRepaint, 1536, 1536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNothingSearch1536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextNothing1536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillDownAll40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillDownAll40Repaint)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UndoFillDown40, step, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_UndoFillDown40, repainted, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeCharacter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAllInsertKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillDownMenu)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragMove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoKeys)->Unit(benchmark::kMillisecond);

qsizetype fullHistoryBytes(QString *error)
{
    // The history at its bounds: as many replaced full plates as it keeps,
    // opened from two files in turn, and a long day of typing steps.
    QTemporaryDir dir;
    State other = makePlateDocument(1536).state;
    const QString files[] = {dir.filePath(QStringLiteral("a.kwl")), dir.filePath(QStringLiteral("b.kwl"))};
    for (const QString &file : files) {
        other.filePath = file;
        other.fileDesc = file;
        if (!WriteSampleFile(other).ok) {
            *error = QStringLiteral("cannot write %1").arg(file);
            return -1;
        }
    }
    PlateWindow w(96);
    for (int i = 0; i < DocumentHistory::MaxReplacedDocuments + 2; ++i)
        w.window.openFile(files[i % 2]);
    for (int i = 0; i < 2000; ++i) {
        w.state.curGrid = 0;
        w.state.topSample = 1 + i % 1500;
        w.state.curRow = 1 + i % 9;
        w.window.mnuEditDelete_Click();
    }
    return w.window.history().size();
}

} // namespace Tessar

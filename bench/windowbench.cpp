// The main window's commands that must each fit in one frame at 60 Hz, on a
// plate with data in every well: redrawing the plate map, laying the window
// out again after a resize, a Find that finds nothing and a Fill Down.

#include "windowbench.h"

#include "platedocument.h"

#include "core/samplefile.h"
#include "core/search.h"
#include "core/state.h"
#include "mainwindow/documenthistory.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
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

void resizeAndRepaint(PlateWindow &w)
{
    w.sizeIndex = 1 - w.sizeIndex;
    w.window.resize(WindowSizes[w.sizeIndex]);
    w.window.repaint();
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
    MainWindow &window = window1536->window;
    for (auto _ : bm)
        window.mnuEditFillAll_Click(FillAllForty);
}

void BM_FillDownAll40Repaint(benchmark::State &bm)
{
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

} // namespace

bool prepareWindows(QString *error)
{
    if (!open(window96, 96, error) || !open(window1536, 1536, error) || !check(error)) {
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

// Times the desktop program offscreen, in one run:
//  - a start of the whole program, as its own process, to the end of its
//    window's first paint, against a QApplication that starts and ends at
//    once;
//  - on plates with data in every well, the window's commands that must fit
//    in one frame at 60 Hz: redrawing the plate map, a resize with its new
//    layout and repaint, a Find Next that finds nothing, a Fill Down of 40
//    samples;
//  - on a full 1536-well plate of ten rows, the editing actions as a user
//    makes them (a typed character, an Insert key, Fill Down 40 from its
//    menu entry, a drag on the map, every well picked and keyed at once,
//    Undo and Redo by their keys), each with
//    the paint that follows, within half a frame.
//
//   tessar-guibench [Google Benchmark flags]
//
// Without flags each benchmark runs seven times, the runs of all of them
// interleaved at random, and the figures at the end are the medians. Exit
// status 1 when something cannot be timed, 0 otherwise; a missed goal is
// printed ("MISSED"), not failed, since timings on a shared machine are noisy.

#include "ratioreporter.h"
#include "startbench.h"
#include "windowbench.h"

#include "app/programstyle.h"
#include "mainwindow/documenthistory.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

using namespace Tessar;

namespace {

QtMessageHandler qtHandler = nullptr;

// The offscreen platform says on every resize that it has no window frame
// to pass size hints to; that is no news to anyone reading the figures.
void quietOffscreen(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    if (!initialiseBenchmarks(argc, argv))
        return 2;

    // Headless, and never near the settings of whoever runs it.
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "tessar-guibench: no temporary folder\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(config.path() + QStringLiteral("/state")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(config.path() + QStringLiteral("/cache")));
    qtHandler = qInstallMessageHandler(quietOffscreen);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The windows are timed in the style the program's start gives them.
    QApplication::setStyle(new ProgramStyle);

    QString error;
    if (!prepareStarts(&error) || !prepareWindows(&error)) {
        std::fprintf(stderr, "tessar-guibench: %s\n", qPrintable(error));
        return 1;
    }

    RatioReporter reporter(
        {
            {"start / empty start", "BM_StartTessar", "BM_StartEmptyApplication", 1.8},
            {"start, 1536 wells stored / empty start", "BM_StartTessar1536", "BM_StartEmptyApplication", 2.0},
        },
        {
            {"plate map redraw, 1536 wells", "BM_PlateRedraw1536", 16},
            {"resize: sizeform + repaint, 96 wells", "BM_ResizeRepaint/96", 6},
            {"resize: sizeform + repaint, 1536 wells", "BM_ResizeRepaint/1536", 8},
            {"Find Next, nothing found, 1536 wells", "BM_FindNextNothing1536", 16},
            {"  of which the search alone", "BM_FindNothingSearch1536", 16},
            {"Fill Down all, 40 samples + redraw", "BM_FillDownAll40", 16},
            {"  and the window repainted", "BM_FillDownAll40Repaint", 16},
            {"Undo or Redo, Fill Down all 40, 1536 wells", "BM_UndoFillDown40/step", 1},
            {"  and the window repainted", "BM_UndoFillDown40/repainted", 16},
            {"typing one character + paint, 1536 wells", "BM_TypeCharacter", 8},
            {"Insert key (F4 to F9) + paint", "BM_InsertKey", 8},
            {"select all wells + Insert key + paint", "BM_SelectAllInsertKey", 8},
            {"Fill Down all 40 from the menu + paint", "BM_FillDownMenu", 8},
            {"drag-move on the map + paint", "BM_DragMove", 8},
            {"Undo or Redo (Ctrl+Z, Ctrl+Y) + paint", "BM_UndoRedoKeys", 8},
        });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const qsizetype history = fullHistoryBytes(&error);
    if (history < 0) {
        std::fprintf(stderr, "tessar-guibench: %s\n", qPrintable(error));
        return 1;
    }
    constexpr double MiB = 1024.0 * 1024.0;
    std::printf("undo history at its bounds, %d replaced 1536-well plates: %.1f MB (goal %.0f MB)%s\n",
                DocumentHistory::MaxReplacedDocuments, double(history) / MiB, 50.0,
                double(history) / MiB < 50.0 ? "" : "  MISSED");
    releaseWindows();
    releaseStarts();
    return 0;
}

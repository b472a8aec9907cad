#pragma once

#include "soakanswerer.h"
#include "soakfiledialogs.h"
#include "userinput.h"
#include "soakrandom.h"

#include "core/document/state.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMap>

#include <functional>
#include <memory>

namespace Tessar {
class MainWindow;
}

struct SoakOptions
{
    std::uint64_t seed = 1;
    qint64 actions = 2000;     // stop after this many; 0: no limit
    double minutes = 0;        // stop after this long; 0: no limit
    bool verbose = false;      // every action and answer as it runs, on stderr
    QString sourceDir;         // where fuzz/corpus and fuzz/table-corpus are
    QString folder;            // an empty folder for the soak's files
};

struct SoakResult
{
    bool ok = true;
    std::uint64_t seed = 0;
    qint64 actions = 0;            // actions finished
    double seconds = 0;
    QString failure;
    QStringList trail;             // the last actions, the failing one last
    qint64 savesReadBack = 0;      // files saved, read back and found equal
    qint64 historySteps = 0;       // Undo and Redo steps that gave back a document seen before
    qint64 dialogsAnswered = 0;
    QString report() const;
};

// Drives the real main window with a long random sequence of user actions
// from a seed, and checks after every one that the document keeps its
// invariants, the window shows it, saved files read back to it, and the
// history gives back the documents it went through.
class SoakRunner
{
public:
    explicit SoakRunner(SoakOptions options);
    ~SoakRunner();

    SoakResult run();

    // QTest warns of every stroke no widget took, which a soak makes on
    // purpose; those are dropped.
    static void installReports();

private:
    // What an action means to do to the history.
    enum class Intent { None, Undo, Redo };
    struct Snapshot
    {
        QByteArray hash;   // of the document's fingerprint
        quint64 top = 0;   // the id of the step that made it, 0 for none
    };
    struct Action
    {
        const char *name;
        int weight;        // per thousand
        std::function<void()> run;
    };

    void startWindow(bool fresh);
    void stopWindow();
    void prepareFolder();
    void note(const QString &what);
    QList<Action> actions();   // soakactions.cpp
    QString afterAction();
    QString checkSave(const QList<SoakFileDialogs::Request> &requests, const QList<SoakAnswerer::Seen> &seen);
    QString checkHistory(Intent intent);
    QString historyWalk();
    QString cellText();

    // The hands, aimed at the widget with the focus.
    QWidget *focusTarget() const;
    void ensureActive();
    void keys(const QList<QKeyCombination> &strokes, const QString &text = QString());
    QString choose(const UserInput::MenuEntry &entry, bool byShortcut);
    QList<UserInput::MenuEntry> entries() const;
    void noteEntry(const QString &objectName);
    QPoint mapPoint(QString *where);

    SoakOptions mOptions;
    SoakRandom mRandom;
    Tessar::State mState;
    std::unique_ptr<Tessar::MainWindow> mWindow;
    std::unique_ptr<SoakFileDialogs> mDialogs;
    std::unique_ptr<SoakAnswerer> mAnswerer;
    QElapsedTimer mClock;
    qint64 mAction = 0;
    QString mCurrent;
    QString mFailure;                  // of the action itself
    QStringList mTrail;
    SoakResult mResult;
    // The history's steps by index, under ids of the soak's own: a step
    // pushed where others were undone replaces them, and a document seen at
    // an index counts only while the steps below it are the same.
    QHash<int, Snapshot> mSnapshots;
    QList<quint64> mStepIds;
    quint64 mNextStepId = 0;
    int mPrevIndex = 0;
    int mPrevCount = 0;
    Intent mIntent = Intent::None;
    int mHistoryChanges = 0;           // steps pushed, merged, undone or redone by the action
    bool mSaving = false;              // the action may write the document
    bool mSaveEnabledBefore = false;
    QString mPathBefore;
    int mPlanted = 0;
};

#pragma once

#include "soakanswerer.h"
#include "soakfiledialogs.h"
#include "soakinput.h"
#include "soakrandom.h"

#include "core/state.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace Tessar {
class MainWindow;
}

struct SoakOptions
{
    std::uint64_t seed = 1;
    qint64 actions = 2000;     // stop after this many; 0: no limit
    double minutes = 0;        // stop after this long; 0: no limit
    int restartEvery = 1000;   // close the window and start again on its settings
    int trail = 25;            // the last actions a failure report lists
    bool verbose = false;      // every action as it runs, on stderr
    QString sourceDir;         // where fuzz/corpus and fuzz/table-corpus are
    QString folder;            // an empty folder for the soak's files
    std::function<void(qint64 done, double seconds)> progress;   // now and then
};

struct SoakResult
{
    bool ok = true;
    std::uint64_t seed = 0;
    qint64 actions = 0;        // actions finished
    double seconds = 0;
    QString failure;
    QStringList trail;
    QMap<QString, int> kinds;  // actions by kind
    QMap<QString, int> dialogs;    // dialogs answered, by name
    qint64 savesReadBack = 0;      // files saved, read back and found equal
    qint64 historySteps = 0;       // Undo and Redo steps that gave back a document seen before
    qint64 dialogsAnswered() const;

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

    // Prints the seed, the action and the last actions on stderr should the
    // process die (a crash, a sanitizer's report, an uncaught exception).
    static void installCrashReport();
    // QTest warns of every stroke no widget took, which a soak makes on
    // purpose; those are dropped. Other messages pass on, each text only
    // its first few times, and are counted.
    static void installMessageFilter();
    static QMap<QString, int> messages();

private:
    // What an action means to do to the history.
    enum class Intent { None, Undo, Redo };
    // A history step's identity, which an address is not: a step let go
    // of may leave its address to the next one.
    using StepId = quint64;

    struct Snapshot
    {
        QByteArray hash;   // of the document's fingerprint
        StepId top = 0;    // the step that made it, 0 for none
    };

    void startWindow(bool fresh);
    void stopWindow();
    void prepareFolder();
    void plantRecoveryFile();
    void note(const QString &what);
    void updateCrashNote();

    QString act();
    QString afterAction();
    QString checkSave();
    QString checkHistory(Intent intent);
    void noteEntry(const SoakInput::MenuEntry &entry);
    QByteArray currentHash() const;
    QString cellText();

    // The actions, each returning a failure or nothing.
    QString clickCell();
    QString typeText();
    QString editKey();
    QString refusedCharacter();
    QString description();
    QString menuByMouse();
    QString menuByShortcut();
    QString fileCommand();
    QString undoOrRedo();
    QString historyWalk();
    QString mapMouse();
    QString mapWheel();
    QString framesWheel();
    QString mapKeys();
    QString scrollBar();
    QString resize();
    QString windowState();
    QString listButton();
    QString mnemonic();

    QString chooseEntry(const QString &objectName, bool byShortcut);
    QWidget *focusTarget() const;
    QPoint mapPoint(QString *where);
    void ensureActive();

    SoakOptions mOptions;
    SoakRandom mRandom;
    Tessar::State mState;
    std::unique_ptr<Tessar::MainWindow> mWindow;
    std::unique_ptr<SoakFileDialogs> mDialogs;
    std::unique_ptr<SoakAnswerer> mAnswerer;
    QElapsedTimer mClock;
    qint64 mAction = 0;
    QString mCurrent;
    QStringList mTrail;
    SoakResult mResult;
    QHash<int, Snapshot> mSnapshots;   // by history index
    QList<StepId> mStepIds;            // by history index, for the steps the stack holds
    StepId mNextStepId = 0;
    int mPrevIndex = 0;
    int mPrevCount = 0;
    Intent mIntent = Intent::None;
    int mHistoryChanges = 0;           // steps pushed, merged, undone or redone by the action
    bool mSaving = false;              // the action may write the document
    bool mSaveEnabledBefore = false;
    QString mPathBefore;
    int mPlanted = 0;
    QList<SoakFileDialogs::Request> mRequests;   // of the last action
    QList<SoakAnswerer::Seen> mSeen;
};

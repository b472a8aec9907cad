#include "soakrunner.h"

#include "soakchecks.h"

#include "app/programstyle.h"
#include "core/document/document.h"
#include "core/files/recovery.h"
#include "core/files/samplefile.h"
#include "core/document/settings.h"
#include "mainwindow/documenthistory.h"
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QUndoStack>


using namespace Tessar;

namespace {

QtMessageHandler gPreviousHandler = nullptr;

} // namespace

QString SoakResult::report() const
{
    QString text = QStringLiteral("seed %1: %2 actions in %3 min, %4 saves read back, %5 undo/redo steps checked, %6 dialogs answered: %7\n")
                       .arg(seed).arg(actions).arg(seconds / 60, 0, 'f', 1).arg(savesReadBack).arg(historySteps).arg(dialogsAnswered)
                       .arg(ok ? QStringLiteral("clean") : QStringLiteral("FAILED at action %1: %2").arg(actions + 1).arg(failure));
    if (!ok) {
        text += QStringLiteral("replay: tst_soak --seed %1 --actions %2 --verbose\nthe last actions:\n").arg(seed).arg(actions + 1);
        for (const QString &line : trail)
            text += QStringLiteral("  ") + line + u'\n';
    }
    return text;
}

SoakRunner::SoakRunner(SoakOptions options)
    : mOptions(std::move(options))
    , mRandom(mOptions.seed)
{
    mResult.seed = mOptions.seed;
}

SoakRunner::~SoakRunner()
{
    stopWindow();
}

void SoakRunner::installReports()
{
    gPreviousHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        // QTest's, for strokes no widget took, and the offscreen platform's
        // about what it cannot do.
        if (message.contains(QLatin1String("not accepted by receiving widget"))
            || message.startsWith(QLatin1String("This plugin does not support")))
            return;
        gPreviousHandler(type, context, message);
    });
}

void SoakRunner::note(const QString &what)
{
    mCurrent = what;
    if (mOptions.verbose)
        fprintf(stderr, "#%lld %s\n", mAction + 1, qPrintable(what));
}

// The corpus copied, and names a save cannot write to.
void SoakRunner::prepareFolder()
{
    const QDir folder(mOptions.folder);
    for (const char *sub : {"kwl", "table", "saved", "a-folder.kwl"})
        folder.mkpath(QLatin1String(sub));
    QFile plain(folder.filePath(QStringLiteral("plain-file")));
    if (plain.open(QIODevice::WriteOnly))
        plain.write("not a sample file\n");
    for (const auto &[from, to] : {std::pair{"corpus", "kwl"}, std::pair{"table-corpus", "table"}}) {
        const QDir dir(mOptions.sourceDir + QStringLiteral("/fuzz/") + QLatin1String(from));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            QFile::copy(dir.filePath(name), folder.filePath(QLatin1String(to) + u'/' + name));
    }
}

void SoakRunner::startWindow(bool fresh)
{
    if (fresh)
        QFile::remove(settingsFilePath());
    // Samples an earlier run left unsaved, from the corpus, with fixed
    // times so that the Recover dialog lists them in the same order.
    const QDir corpus(mOptions.folder + QStringLiteral("/kwl"));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    for (int i = 0; i < 2 && !names.isEmpty(); ++i, ++mPlanted) {
        QFile source(corpus.filePath(names[mPlanted % names.size()]));
        const QString path = recoveryFolder() + QStringLiteral("/unsaved-20200101-000000-%1-1.kwl").arg(mPlanted, 3, 10, QLatin1Char('0'));
        if (source.open(QIODevice::ReadOnly) && writeRecoveryFile(path, source.readAll(), mPlanted % 2 ? QString() : source.fileName()))
            QSettings(path + QStringLiteral(".note"), QSettings::IniFormat)
                .setValue(QStringLiteral("Written"), QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(60 * mPlanted).toString(Qt::ISODateWithMs));
    }
    mState = State();
    applyFirstRunDefaults(mState);
    mWindow = std::make_unique<MainWindow>(mState);
    // Every step pushed, merged, undone or redone; a change of the
    // document that comes with none of these is one the history missed.
    QObject::connect(&mWindow->history(), &DocumentHistory::changed, mWindow.get(), [this] { ++mHistoryChanges; });
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    mWindow->loadSettings(store);
    if (fresh)
        mWindow->resize(900, 700);
    mWindow->show();
    QApplication::setActiveWindow(mWindow.get());
    if (!QTest::qWaitForWindowExposed(mWindow.get()))
        qFatal("the main window never showed");
    QCoreApplication::processEvents();
    mSnapshots.clear();
    mStepIds.clear();
    mPrevIndex = mPrevCount = 0;
}

void SoakRunner::stopWindow()
{
    if (!mWindow)
        return;
    UserInput::closePopups();
    mWindow->close();   // the way a user ends the program
    QCoreApplication::processEvents();
    mWindow.reset();
    QCoreApplication::processEvents();
}

SoakResult SoakRunner::run()
{
    // Qt's own dialogs, which the answerer can work; never the desktop's.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The window in the style the program's start gives it.
    if (!dynamic_cast<const ProgramStyle *>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle);
    mClock.start();
    prepareFolder();
    mDialogs = std::make_unique<SoakFileDialogs>(mRandom, mOptions.folder);
    mAnswerer = std::make_unique<SoakAnswerer>(mRandom, [this] { return cellText(); });
    startWindow(true);
    const QList<Action> table = actions();
    QList<int> weights;
    for (const Action &action : table)
        weights.append(action.weight);

    QString problem = afterAction();
    while (problem.isEmpty() && (mOptions.actions <= 0 || mAction < mOptions.actions)
           && (mOptions.minutes <= 0 || mClock.elapsed() < qint64(mOptions.minutes * 60000))) {
        // Now and then the program ends and starts again on the settings it left.
        if (mAction > 0 && mAction % 1000 == 0) {
            note(QStringLiteral("close the window and start the program again"));
            stopWindow();
            startWindow(false);
            mTrail.append(QStringLiteral("-- restarted on the settings the window left"));
        }
        ensureActive();
        mSaving = false;
        mHistoryChanges = 0;
        mIntent = Intent::None;
        mFailure.clear();
        const QAction *save = mWindow->findChild<QAction *>(QStringLiteral("mnuFileSave"));
        mSaveEnabledBefore = save && save->isEnabled();
        mPathBefore = mState.filePath;
        const Action &action = table[mRandom.weighted(weights)];
        mCurrent = QLatin1String(action.name);   // until the action says more
        action.run();
        problem = mFailure.isEmpty() ? afterAction() : mFailure;
        if (problem.isEmpty() && ++mAction % 1000 == 0)
            fprintf(stderr, "tst_soak: seed %llu, %lld actions\n", static_cast<unsigned long long>(mOptions.seed), mAction);
    }
    mResult.ok = problem.isEmpty();
    mResult.failure = problem;
    mResult.actions = mAction;
    mResult.seconds = mClock.elapsed() / 1000.0;
    mResult.trail = mTrail.mid(std::max<qsizetype>(0, mTrail.size() - 25));
    if (!mResult.ok)
        mResult.trail.append(QStringLiteral("#%1 %2   <-- failed here").arg(mAction + 1).arg(mCurrent));
    stopWindow();
    mAnswerer.reset();
    mDialogs.reset();
    return mResult;
}

QString SoakRunner::afterAction()
{
    UserInput::closePopups();
    // A dialog opened without waiting for it is answered here.
    for (int i = 0; i < 500 && QApplication::activeModalWidget() && mAnswerer->failure().isEmpty(); ++i)
        QTest::qWait(2);
    QCoreApplication::processEvents();
    UserInput::closePopups();

    QString answered;
    const QList<SoakAnswerer::Seen> seen = mAnswerer->takeSeen();
    for (const SoakAnswerer::Seen &dialog : seen) {
        ++mResult.dialogsAnswered;
        answered += QStringLiteral(" [%1%2: %3]").arg(dialog.name, dialog.text.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(dialog.text.left(60)),
                                                      dialog.steps.join(QStringLiteral("; ")));
    }
    const QList<SoakFileDialogs::Request> requests = mDialogs->takeRequests();
    for (const SoakFileDialogs::Request &request : requests)
        answered += QStringLiteral(" {%1 \"%2\": %3}").arg(request.kind, request.title, request.answer.value_or(QStringLiteral("cancel")));
    if (mOptions.verbose && !answered.isEmpty())
        fprintf(stderr, "    answered:%s\n", qPrintable(answered));
    if (!mCurrent.isEmpty()) {
        mTrail.append(QStringLiteral("#%1 %2%3").arg(mAction + 1).arg(mCurrent, answered));
        if (mTrail.size() > 200)
            mTrail.remove(0, 100);
    }
    if (!mAnswerer->failure().isEmpty())
        return mAnswerer->failure();
    if (!mWindow->isVisible())
        return QStringLiteral("the main window closed");
    QString problem = SoakChecks::model(mState);
    problem = problem.isEmpty() ? SoakChecks::window(mState, *mWindow) : problem;
    problem = problem.isEmpty() ? checkSave(requests, seen) : problem;
    return problem.isEmpty() ? checkHistory(mIntent) : problem;
}

// A save the user asked for wrote the document, or told why not.
QString SoakRunner::checkSave(const QList<SoakFileDialogs::Request> &requests, const QList<SoakAnswerer::Seen> &seen)
{
    bool attempted = mSaving && mSaveEnabledBefore && !mPathBefore.isEmpty();
    for (const SoakFileDialogs::Request &request : requests) {
        if (mSaving && request.kind == u"save" && request.title == u"Save File As")
            attempted = request.answer.has_value();
    }
    if (!attempted)
        return QString();
    QString told;
    for (const SoakAnswerer::Seen &dialog : seen) {
        if (dialog.text.contains(QLatin1String("could not be saved")) || dialog.text.contains(QLatin1String("were not saved")))
            told = dialog.text.simplified();
    }
    const QString path = mState.filePath;
    if (mDialogs->unwritablePaths(QStringLiteral("kwl")).contains(path))
        return told.isEmpty() ? QStringLiteral("saving to %1, where nothing can be written, told the user nothing").arg(path) : QString();
    if (!told.isEmpty())
        return QStringLiteral("saving to %1 failed: %2").arg(path, told);
    if (mWindow->isModified())
        return QStringLiteral("the document still counts as changed after saving to %1").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the file saved, %1, cannot be read").arg(path);
    const QByteArray bytes = file.readAll();
    if (bytes != sampleFileBytes(mState))
        return QStringLiteral("the file saved, %1, is not the document").arg(path);
    const QString problem = SoakChecks::readsBack(mState, bytes);
    mResult.savesReadBack += problem.isEmpty();
    return problem;
}

QString SoakRunner::checkHistory(Intent intent)
{
    const QUndoStack &stack = mWindow->history().stack();
    const int index = stack.index();
    const int count = stack.count();
    const bool walked = intent != Intent::None && count == mPrevCount;
    if (!walked) {
        mStepIds.resize(std::min({mPrevIndex, index, int(mStepIds.size())}));
        while (mStepIds.size() < count)
            mStepIds.append(++mNextStepId);
    }
    mStepIds.resize(count);
    mPrevIndex = index;
    mPrevCount = count;
    mSnapshots.removeIf([count](const auto &it) { return it.key() > count; });

    const quint64 top = index > 0 ? mStepIds[index - 1] : 0;
    const auto *description = mWindow->findChild<QLineEdit *>(QStringLiteral("TxtFileDesc"));
    const QByteArray hash = QCryptographicHash::hash(SoakChecks::fingerprint(mState, description->text()), QCryptographicHash::Sha1);
    const auto known = mSnapshots.constFind(index);
    if (known != mSnapshots.cend() && known->top == top) {
        if (walked && known->hash == hash)
            ++mResult.historySteps;
        else if (walked)
            return QStringLiteral("%1 to history step %2 (\"%3\") gives a document other than the one seen there before")
                .arg(intent == Intent::Undo ? QLatin1String("Undo") : QLatin1String("Redo")).arg(index).arg(stack.undoText());
        else if (known->hash != hash && mHistoryChanges == 0)
            return QStringLiteral("the document changed, but the history has no step for it (still at step %1, \"%2\")")
                .arg(index).arg(stack.undoText());
    }
    mSnapshots.insert(index, Snapshot{hash, top});
    return QString();
}

// Undo all the way back, then Redo all the way forward: every document
// on the way must be the one seen at that step before.
QString SoakRunner::historyWalk()
{
    DocumentHistory &history = mWindow->history();
    const QUndoStack &stack = history.stack();
    note(QStringLiteral("undo all %1 steps back, then redo them all").arg(stack.index()));
    const int end = stack.count();
    for (const Intent intent : {Intent::Undo, Intent::Redo}) {
        const bool undo = intent == Intent::Undo;
        for (int steps = 1; undo ? history.canUndo() : history.canRedo(); ++steps) {
            ensureActive();
            const int before = stack.index();
            // The menu entries are chosen by the command action.
            UserInput::key(focusTarget(), undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
            UserInput::closePopups();
            if (stack.index() == before)
                return QStringLiteral("%1 did nothing at history step %2 on %3")
                    .arg(undo ? QLatin1String("Undo") : QLatin1String("Redo")).arg(before).arg(focusTarget()->objectName());
            QString problem = checkHistory(intent);
            if (problem.isEmpty() && (steps % 50 == 0 || !(undo ? history.canUndo() : history.canRedo()))) {
                problem = SoakChecks::model(mState);
                if (problem.isEmpty())
                    problem = SoakChecks::window(mState, *mWindow);
            }
            if (!problem.isEmpty())
                return problem;
        }
    }
    if (stack.index() != end)
        return QStringLiteral("Redo stopped at step %1 of %2").arg(stack.index()).arg(end);
    mIntent = Intent::Redo;
    return QString();
}

// A text the document holds, for Find to find; or a key name.
QString SoakRunner::cellText()
{
    for (int tries = 0; tries < 20; ++tries) {
        const int s = mRandom.between(1, std::max(mState.wellCount, 1));
        const int f = mRandom.below(std::max(mState.fieldCount(), 1));
        if (mState.sampleTable.contains(s, f) && !mState.sampleTable(s, f).isEmpty())
            return mState.sampleTable(s, f);
    }
    return mRandom.chance(50) ? mState.keyName[std::size_t(mRandom.between(1, KeyCount))] : QStringLiteral("x");
}

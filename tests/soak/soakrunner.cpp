#include "soakrunner.h"

#include "soakanswerer.h"
#include "soakchecks.h"
#include "soakfiledialogs.h"
#include "soakinput.h"

#include "core/document.h"
#include "core/plategeometry.h"
#include "core/recovery.h"
#include "core/samplefile.h"
#include "core/settings.h"
#include "mainwindow/documenthistory.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/grid.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QUndoStack>

#include <atomic>
#include <csignal>
#include <cstring>
#include <exception>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace Tessar;

namespace {

// What a dying process prints: kept ready as plain bytes, since a signal
// handler may do little more than write them out.
char gCrashNote[8192];
std::atomic<std::size_t> gCrashNoteLength{0};

void writeCrashNote()
{
    const std::size_t length = gCrashNoteLength.load();
    std::size_t written = 0;
    while (written < length) {
        const ssize_t n = ::write(2, gCrashNote + written, length - written);
        if (n <= 0)
            break;
        written += std::size_t(n);
    }
}

void onFatalSignal(int signal)
{
    writeCrashNote();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

QString keyName(int key, Qt::KeyboardModifiers modifiers)
{
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(key))).toString();
}

const char *const KindNames[] = {"click cell", "type", "edit key", "refused character", "description",
                                 "menu", "shortcut", "file", "undo/redo", "history walk", "map mouse",
                                 "map wheel", "frames wheel", "map keys", "scroll bar", "resize",
                                 "window state", "list button", "mnemonic"};
// Per thousand.
const QList<int> KindWeights = {130, 150, 130, 40, 40, 100, 80, 30, 50, 4, 90, 25, 25, 35, 40, 15, 6, 8, 8};

} // namespace

// ---- The report -----------------------------------------------------------

QString SoakResult::report() const
{
    QString text;
    if (ok) {
        text = QStringLiteral("seed %1: %2 actions in %3 min, clean\n").arg(seed).arg(actions).arg(seconds / 60, 0, 'f', 1);
    } else {
        text = QStringLiteral("seed %1: FAILED at action %2 after %3 min: %4\n")
                   .arg(seed).arg(actions + 1).arg(seconds / 60, 0, 'f', 1).arg(failure);
        text += QStringLiteral("replay: tessar-soak --seed %1 --actions %2 --verbose\n").arg(seed).arg(actions + 1);
        text += QStringLiteral("the last actions:\n");
        for (const QString &line : trail)
            text += QStringLiteral("  ") + line + u'\n';
    }
    QStringList kindCounts;
    for (auto it = kinds.begin(); it != kinds.end(); ++it)
        kindCounts.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value()));
    text += QStringLiteral("actions: ") + kindCounts.join(QStringLiteral(", ")) + u'\n';
    QStringList dialogCounts;
    for (auto it = dialogs.begin(); it != dialogs.end(); ++it)
        dialogCounts.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value()));
    text += QStringLiteral("dialogs: ") + dialogCounts.join(QStringLiteral(", ")) + u'\n';
    text += QStringLiteral("saves read back %1, undo/redo steps checked %2, dialogs answered %3\n")
                .arg(savesReadBack).arg(historySteps).arg(dialogsAnswered());
    return text;
}

qint64 SoakResult::dialogsAnswered() const
{
    qint64 total = 0;
    for (const int n : dialogs)
        total += n;
    return total;
}

// ---- Set-up ---------------------------------------------------------------

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

void SoakRunner::installCrashReport()
{
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, onFatalSignal);
    std::set_terminate([] {
        writeCrashNote();
        std::abort();
    });
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(writeCrashNote);
#endif
}

namespace {

QtMessageHandler gPreviousHandler = nullptr;
QMap<QString, int> gMessages;

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // QTest's, for strokes no widget took, and the offscreen platform's
    // about what it cannot do.
    if (message.contains(QLatin1String("not accepted by receiving widget"))
        || message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (type == QtDebugMsg || type == QtInfoMsg) {
        if (gPreviousHandler)
            gPreviousHandler(type, context, message);
        return;
    }
    if (++gMessages[message.left(300)] > 3)
        return;
    if (gPreviousHandler)
        gPreviousHandler(type, context, message);
}

} // namespace

void SoakRunner::installMessageFilter()
{
    gPreviousHandler = qInstallMessageHandler(filterMessage);
}

QMap<QString, int> SoakRunner::messages()
{
    return gMessages;
}

void SoakRunner::updateCrashNote()
{
    QString text = QStringLiteral("\ntessar-soak: seed %1 died in action %2: %3\nreplay: tessar-soak --seed %1 --actions %2 --verbose\nthe actions before it:\n")
                       .arg(mOptions.seed).arg(mAction + 1).arg(mCurrent);
    for (qsizetype i = std::max<qsizetype>(0, mTrail.size() - 12); i < mTrail.size(); ++i)
        text += QStringLiteral("  ") + mTrail[i].left(300) + u'\n';
    const QByteArray bytes = text.toUtf8().left(sizeof gCrashNote);
    gCrashNoteLength = 0;
    std::memcpy(gCrashNote, bytes.constData(), std::size_t(bytes.size()));
    gCrashNoteLength = std::size_t(bytes.size());
}

void SoakRunner::note(const QString &what)
{
    mCurrent = what;
    updateCrashNote();
    if (mOptions.verbose)
        fprintf(stderr, "#%lld %s\n", mAction + 1, qPrintable(what));
}

void SoakRunner::prepareFolder()
{
    const QDir folder(mOptions.folder);
    for (const char *sub : {"kwl", "table", "saved"})
        folder.mkpath(QLatin1String(sub));
    folder.mkpath(QStringLiteral("a-folder.kwl"));
    QFile plain(folder.filePath(QStringLiteral("plain-file")));
    if (plain.open(QIODevice::WriteOnly))
        plain.write("not a sample file\n");
    const QDir source(mOptions.sourceDir + QStringLiteral("/fuzz"));
    for (const auto &[from, to] : {std::pair{"corpus", "kwl"}, std::pair{"table-corpus", "table"}}) {
        const QDir dir(source.filePath(QLatin1String(from)));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            QFile::copy(dir.filePath(name), folder.filePath(QLatin1String(to) + u'/' + name));
    }
}

// Samples an earlier run left unsaved, from the corpus, with fixed times
// so that the Recover dialog lists them in the same order every run.
void SoakRunner::plantRecoveryFile()
{
    const QDir corpus(mOptions.folder + QStringLiteral("/kwl"));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    if (names.isEmpty())
        return;
    QFile source(corpus.filePath(names[mPlanted % names.size()]));
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QString path = recoveryFolder() + QStringLiteral("/unsaved-20200101-000000-%1-1.kwl").arg(mPlanted, 3, 10, QLatin1Char('0'));
    const QString original = mPlanted % 2 ? QString() : mOptions.folder + QStringLiteral("/kwl/") + names[mPlanted % names.size()];
    if (writeRecoveryFile(path, source.readAll(), original)) {
        QSettings note(path + QStringLiteral(".note"), QSettings::IniFormat);
        note.setValue(QStringLiteral("Written"),
                      QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(60 * mPlanted).toString(Qt::ISODateWithMs));
    }
    ++mPlanted;
}

void SoakRunner::startWindow(bool fresh)
{
    if (fresh)
        QFile::remove(settingsFilePath());
    plantRecoveryFile();
    plantRecoveryFile();
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
    mPrevIndex = 0;
    mPrevCount = 0;
}

void SoakRunner::stopWindow()
{
    if (!mWindow)
        return;
    SoakInput::closePopups();
    // The way a user ends the program: the window's close button.
    mWindow->close();
    QCoreApplication::processEvents();
    mWindow.reset();
    QCoreApplication::processEvents();
}

// ---- The run --------------------------------------------------------------

SoakResult SoakRunner::run()
{
    // Qt's own dialogs, which the answerer can work; never the desktop's.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    mClock.start();
    prepareFolder();
    mDialogs = std::make_unique<SoakFileDialogs>(mRandom, mOptions.folder);
    mAnswerer = std::make_unique<SoakAnswerer>(mRandom, [this] { return cellText(); });
    startWindow(true);

    QString problem = afterAction();
    while (problem.isEmpty()) {
        if (mOptions.actions > 0 && mAction >= mOptions.actions)
            break;
        if (mOptions.minutes > 0 && mClock.elapsed() >= qint64(mOptions.minutes * 60000))
            break;
        if (mOptions.restartEvery > 0 && mAction > 0 && mAction % mOptions.restartEvery == 0) {
            note(QStringLiteral("close the window and start the program again"));
            stopWindow();
            startWindow(false);
            mTrail.append(QStringLiteral("-- restarted on the settings the window left"));
        }
        ensureActive();
        mSaving = false;
        mHistoryChanges = 0;
        mIntent = Intent::None;
        const QAction *save = mWindow->findChild<QAction *>(QStringLiteral("mnuFileSave"));
        mSaveEnabledBefore = save && save->isEnabled();
        mPathBefore = mState.filePath;
        problem = act();
        if (problem.isEmpty())
            problem = afterAction();
        if (!problem.isEmpty())
            break;
        ++mAction;
        if (mOptions.progress && mAction % 1000 == 0)
            mOptions.progress(mAction, mClock.elapsed() / 1000.0);
    }
    mResult.ok = problem.isEmpty();
    mResult.failure = problem;
    mResult.actions = mAction;
    mResult.seconds = mClock.elapsed() / 1000.0;
    mResult.trail = mTrail.mid(std::max<qsizetype>(0, mTrail.size() - mOptions.trail));
    if (!mResult.ok)
        mResult.trail.append(QStringLiteral("#%1 %2   <-- failed here").arg(mAction + 1).arg(mCurrent));
    stopWindow();
    mAnswerer.reset();
    mDialogs.reset();
    return mResult;
}

void SoakRunner::ensureActive()
{
    SoakInput::closePopups();
    // The help window and the like stay open; the user clicks back into
    // the main window.
    // Activation takes a trip through the platform; keys sent before it
    // arrives would go to the window left.
    if (QApplication::activeWindow() != mWindow.get()) {
        QApplication::setActiveWindow(mWindow.get());
        (void)QTest::qWaitForWindowActive(mWindow.get(), 1000);
    }
}

QWidget *SoakRunner::focusTarget() const
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->window() == mWindow.get())
        return focus;
    return mWindow.get();
}

QString SoakRunner::act()
{
    const int kind = mRandom.weighted(KindWeights);
    mResult.kinds[QLatin1String(KindNames[kind])]++;
    switch (kind) {
    case 0: return clickCell();
    case 1: return typeText();
    case 2: return editKey();
    case 3: return refusedCharacter();
    case 4: return description();
    case 5: return menuByMouse();
    case 6: return menuByShortcut();
    case 7: return fileCommand();
    case 8: return undoOrRedo();
    case 9: return historyWalk();
    case 10: return mapMouse();
    case 11: return mapWheel();
    case 12: return framesWheel();
    case 13: return mapKeys();
    case 14: return scrollBar();
    case 15: return resize();
    case 16: return windowState();
    case 17: return listButton();
    default: return mnemonic();
    }
}

// ---- After every action ---------------------------------------------------

QString SoakRunner::afterAction()
{
    SoakInput::closePopups();
    // A dialog opened without waiting for it is answered here.
    for (int i = 0; i < 500 && QApplication::activeModalWidget() && mAnswerer->failure().isEmpty(); ++i)
        QTest::qWait(2);
    QCoreApplication::processEvents();
    SoakInput::closePopups();

    QString line = QStringLiteral("#%1 %2").arg(mAction + 1).arg(mCurrent);
    const QList<SoakAnswerer::Seen> seen = mAnswerer->takeSeen();
    for (const SoakAnswerer::Seen &dialog : seen) {
        mResult.dialogs[dialog.name]++;
        line += QStringLiteral(" [%1%2: %3]")
                    .arg(dialog.name, dialog.text.isEmpty() ? QString() : QStringLiteral(" \"") + dialog.text.left(60) + u'"',
                         dialog.steps.join(QStringLiteral("; ")));
    }
    mRequests = mDialogs ? mDialogs->takeRequests() : QList<SoakFileDialogs::Request>();
    for (const SoakFileDialogs::Request &request : std::as_const(mRequests))
        line += QStringLiteral(" {%1 \"%2\": %3}").arg(request.kind, request.title, request.answer.value_or(QStringLiteral("cancel")));
    mSeen = seen;
    if (mOptions.verbose && (!seen.isEmpty() || !mRequests.isEmpty()))
        fprintf(stderr, "    answered: %s\n", qPrintable(line.mid(line.indexOf(mCurrent) + mCurrent.size()).trimmed()));
    if (mAction > 0 || !mCurrent.isEmpty()) {
        mTrail.append(line);
        if (mTrail.size() > 200)
            mTrail.remove(0, mTrail.size() - 100);
    }

    if (mOptions.verbose && mWindow) {
        const QUndoStack &stack = mWindow->history().stack();
        fprintf(stderr, "    history %d of %d \"%s\", focus %s\n", stack.index(), stack.count(),
                qPrintable(stack.undoText()), qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString()));
        // What the action changed in the document, line by line.
        static QByteArrayList last;
        const auto *box = mWindow->findChild<QLineEdit *>(QStringLiteral("TxtFileDesc"));
        const QByteArrayList now = SoakChecks::fingerprint(mState, box->text()).split('\n');
        for (const QByteArray &line : now) {
            if (!last.contains(line))
                fprintf(stderr, "    + %s\n", line.left(200).constData());
        }
        for (const QByteArray &line : std::as_const(last)) {
            if (!now.contains(line))
                fprintf(stderr, "    - %s\n", line.left(200).constData());
        }
        last = now;
    }
    if (!mAnswerer->failure().isEmpty())
        return mAnswerer->failure();
    if (!mWindow->isVisible())
        return QStringLiteral("the main window closed");
    QString problem = SoakChecks::model(mState);
    if (problem.isEmpty())
        problem = SoakChecks::window(mState, *mWindow);
    if (problem.isEmpty())
        problem = checkSave();
    if (problem.isEmpty())
        problem = checkHistory(mIntent);
    return problem;
}

QString SoakRunner::checkSave()
{
    if (!mSaving)
        return QString();
    bool attempted = mSaveEnabledBefore && !mPathBefore.isEmpty();
    for (const SoakFileDialogs::Request &request : std::as_const(mRequests)) {
        if (request.kind == u"save" && request.title == u"Save File As")
            attempted = request.answer.has_value();
    }
    if (!attempted)
        return QString();
    QString told;
    for (const SoakAnswerer::Seen &dialog : std::as_const(mSeen)) {
        if (dialog.text.contains(QLatin1String("could not be saved")) || dialog.text.contains(QLatin1String("were not saved")))
            told = dialog.text;
    }
    const QString path = mState.filePath;
    const bool unwritable = mDialogs->unwritablePaths(QStringLiteral("kwl")).contains(path);
    if (unwritable && told.isEmpty())
        return QStringLiteral("saving to %1, where nothing can be written, told the user nothing").arg(path);
    if (unwritable)
        return QString();
    if (!told.isEmpty())
        return QStringLiteral("saving to %1 failed: %2").arg(path, told.simplified());
    if (mWindow->isModified())
        return QStringLiteral("the document still counts as changed after saving to %1").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the file saved, %1, cannot be read").arg(path);
    const QByteArray bytes = file.readAll();
    if (bytes != sampleFileBytes(mState))
        return QStringLiteral("the file saved, %1, is not the document").arg(path);
    const QString problem = SoakChecks::readsBack(mState, bytes);
    if (problem.isEmpty())
        ++mResult.savesReadBack;
    return problem;
}

QByteArray SoakRunner::currentHash() const
{
    const auto *description = mWindow->findChild<QLineEdit *>(QStringLiteral("TxtFileDesc"));
    return QCryptographicHash::hash(SoakChecks::fingerprint(mState, description->text()), QCryptographicHash::Sha1);
}

// The history's steps are tracked by ids of the soak's own: a step pushed
// where others were undone replaces them, and a document seen at an index
// counts only while the steps below it are the same.
QString SoakRunner::checkHistory(Intent intent)
{
    const QUndoStack &stack = mWindow->history().stack();
    const int index = stack.index();
    const int count = stack.count();
    const bool walked = intent != Intent::None && count == mPrevCount;
    if (!walked) {
        const int kept = std::min({mPrevIndex, index, int(mStepIds.size())});
        mStepIds.resize(kept);
        while (mStepIds.size() < count)
            mStepIds.append(++mNextStepId);
    }
    mStepIds.resize(count);
    mPrevIndex = index;
    mPrevCount = count;
    for (auto it = mSnapshots.begin(); it != mSnapshots.end();) {
        if (it.key() > count)
            it = mSnapshots.erase(it);
        else
            ++it;
    }

    const StepId top = index > 0 ? mStepIds[index - 1] : 0;
    const QByteArray hash = currentHash();
    const auto known = mSnapshots.constFind(index);
    if (walked && known != mSnapshots.cend() && known->top == top && known->hash == hash)
        ++mResult.historySteps;
    if (known != mSnapshots.cend() && known->top == top && known->hash != hash) {
        if (walked)
            return QStringLiteral("%1 to history step %2 (\"%3\") gives a document other than the one seen there before")
                .arg(intent == Intent::Undo ? QLatin1String("Undo") : QLatin1String("Redo"))
                .arg(index).arg(stack.undoText());
        if (mHistoryChanges == 0)
            return QStringLiteral("the document changed, but the history has no step for it (still at step %1, \"%2\")")
                .arg(index).arg(stack.undoText());
    }
    mSnapshots.insert(index, Snapshot{hash, top});
    return QString();
}

QString SoakRunner::cellText()
{
    // A text the document holds, for Find to find; or a caption or key name.
    for (int tries = 0; tries < 20; ++tries) {
        const int s = mRandom.between(1, std::max(mState.wellCount, 1));
        const int f = mRandom.below(std::max(mState.fieldCount(), 1));
        if (mState.sampleTable.contains(s, f) && !mState.sampleTable(s, f).isEmpty())
            return mState.sampleTable(s, f);
    }
    return mRandom.chance(50) ? mState.keyName[std::size_t(mRandom.between(1, KeyCount))] : QStringLiteral("x");
}

// ---- The actions ----------------------------------------------------------

namespace {

Grid *gridOf(MainWindow &window, int frame)
{
    return window.findChild<Grid *>(QStringLiteral("GrdID%1").arg(frame));
}

QString widgetName(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    if (widget->parentWidget() && !widget->parentWidget()->objectName().isEmpty())
        return widget->parentWidget()->objectName() + QStringLiteral("'s ") + QLatin1String(widget->metaObject()->className());
    return QLatin1String(widget->metaObject()->className());
}

Qt::MouseButton randomButton(SoakRandom &random)
{
    static const QList<Qt::MouseButton> buttons = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::LeftButton,
                                                   Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::RightButton,
                                                   Qt::MiddleButton, Qt::BackButton};
    return random.pick(buttons);
}

QString buttonName(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return QStringLiteral("left");
    case Qt::RightButton: return QStringLiteral("right");
    case Qt::MiddleButton: return QStringLiteral("middle");
    default: return QStringLiteral("back");
    }
}

QString printable(SoakRandom &random, int length)
{
    static const QString others = QStringLiteral(" -_.,;:/\\()[]{}<>#%&*+=?!@$^|~'`");
    QString text;
    for (int i = 0; i < length; ++i) {
        const int kind = random.weighted({55, 20, 25});
        if (kind == 0)
            text += QChar(char16_t((random.chance(50) ? u'a' : u'A') + random.below(26)));
        else if (kind == 1)
            text += QChar(char16_t(u'0' + random.below(10)));
        else
            text += others[random.below(int(others.size()))];
    }
    return text;
}

bool isEntry(const SoakInput::MenuEntry &entry, const char *name)
{
    return !entry.path.isEmpty() && entry.path.last() == QLatin1String(name);
}

// Exit would end the run; nothing else is left out.
QList<SoakInput::MenuEntry> soakEntries(QMenuBar *bar)
{
    QList<SoakInput::MenuEntry> entries = SoakInput::menuEntries(bar);
    entries.removeIf([](const SoakInput::MenuEntry &entry) { return isEntry(entry, "mnuFileExit"); });
    return entries;
}

} // namespace

void SoakRunner::noteEntry(const SoakInput::MenuEntry &entry)
{
    if (isEntry(entry, "mnuFileSave") || isEntry(entry, "mnuFileSaveAs"))
        mSaving = true;
    if (isEntry(entry, "mnuEditUndo"))
        mIntent = Intent::Undo;
    if (isEntry(entry, "mnuEditRedo"))
        mIntent = Intent::Redo;
}

QString SoakRunner::clickCell()
{
    if (mState.nFrames < 1)
        return mapMouse();
    const int frame = mRandom.below(mState.nFrames);
    Grid *grid = gridOf(*mWindow, frame);
    const int row = mRandom.below(grid->rows());
    const int how = mRandom.weighted({70, 10, 5, 10, 5});
    const int column = how == 1 ? 0 : 1;
    QPoint at = grid->visualItemRect(grid->item(row, column)).center();
    if (how == 2)
        at = QPoint(grid->viewport()->width() / 2, grid->visualItemRect(grid->item(grid->rows() - 1, 1)).bottom() + 4);
    const Qt::MouseButton button = how == 4 ? Qt::RightButton : Qt::LeftButton;
    note(QStringLiteral("%1 %2click on GrdID%3 %4")
             .arg(buttonName(button), how == 3 ? QStringLiteral("double ") : QString())
             .arg(frame)
             .arg(how == 2 ? QStringLiteral("below the rows") : QStringLiteral("row %1 column %2").arg(row).arg(column)));
    if (how == 3)
        SoakInput::doubleClick(grid->viewport(), at, button);
    else
        SoakInput::click(grid->viewport(), at, button);
    return QString();
}

QString SoakRunner::typeText()
{
    const QString text = printable(mRandom, mRandom.between(1, 8));
    note(QStringLiteral("type \"%1\" into %2").arg(text, widgetName(focusTarget())));
    for (QChar c : text)
        SoakInput::character(focusTarget(), c);
    return QString();
}

QString SoakRunner::editKey()
{
    struct Stroke { int key; Qt::KeyboardModifiers modifiers; };
    static const QList<Stroke> strokes = {
        {Qt::Key_Backspace, {}}, {Qt::Key_Backspace, {}}, {Qt::Key_Delete, {}}, {Qt::Key_Return, {}},
        {Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Tab, {}}, {Qt::Key_Tab, {}},
        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_PageUp, {}}, {Qt::Key_PageDown, {}}, {Qt::Key_Home, {}},
        {Qt::Key_End, {}}, {Qt::Key_Left, {}}, {Qt::Key_Right, {}}, {Qt::Key_Up, {}}, {Qt::Key_Down, {}},
        {Qt::Key_Up, {}}, {Qt::Key_Down, {}}, {Qt::Key_Return, Qt::ControlModifier},
        {Qt::Key_Insert, {}}, {Qt::Key_Escape, {}}, {Qt::Key_Home, Qt::ControlModifier},
        {Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Space, {}}, {Qt::Key_PageDown, Qt::ShiftModifier}};
    const Stroke stroke = mRandom.pick(strokes);
    const int times = mRandom.chance(20) ? mRandom.between(2, 6) : 1;
    note(QStringLiteral("%1 x%2 on %3").arg(keyName(stroke.key, stroke.modifiers)).arg(times).arg(widgetName(focusTarget())));
    for (int i = 0; i < times; ++i)
        SoakInput::key(focusTarget(), stroke.key, stroke.modifiers);
    return QString();
}

QString SoakRunner::refusedCharacter()
{
    static const QStringList odd = {QStringLiteral("\u00e9"), QStringLiteral("\u00f1"), QStringLiteral("\u00fc"),
                                    QStringLiteral("\u00c5"), QStringLiteral("\u00df"), QStringLiteral("\""),
                                    QStringLiteral("\u20ac"), QStringLiteral("\u00b0"), QStringLiteral("\U0001F600"),
                                    QStringLiteral("\x7f"), QStringLiteral("\x07"), QStringLiteral("\x1b"),
                                    QStringLiteral("\u0301"), QStringLiteral("\u00a0")};
    QWidget *target = focusTarget();
    if (mRandom.chance(30)) {
        // Ctrl with a letter gives a control character, or a command.
        const int letter = mRandom.below(26);
        note(QStringLiteral("Ctrl+%1 on %2").arg(QChar(char16_t(u'A' + letter))).arg(widgetName(target)));
        if (letter == 'Z' - 'A')
            mIntent = Intent::Undo;
        if (letter == 'Y' - 'A')
            mIntent = Intent::Redo;
        if (letter == 'S' - 'A')
            mSaving = true;
        SoakInput::key(target, Qt::Key_A + letter, Qt::ControlModifier, QString(QChar(char16_t(1 + letter))));
        return QString();
    }
    const QString text = mRandom.pick(odd);
    note(QStringLiteral("type U+%1 into %2").arg(text[0].unicode(), 4, 16, QLatin1Char('0')).arg(widgetName(target)));
    if (text.size() == 2)
        SoakInput::key(target, Qt::Key_unknown, Qt::NoModifier, text);
    else if (text[0] == u'\x07' || text[0] == u'\x1b')
        SoakInput::key(target, Qt::Key_unknown, Qt::NoModifier, text);
    else
        SoakInput::character(target, text[0]);
    return QString();
}

QString SoakRunner::description()
{
    auto *box = mWindow->findChild<QLineEdit *>(QStringLiteral("TxtFileDesc"));
    if (!box->isVisible())
        return typeText();
    const int what = mRandom.weighted({65, 15, 10, 10});
    const QPoint at(mRandom.between(1, std::max(box->width() - 2, 1)), box->height() / 2);
    SoakInput::click(box, at);
    if (what == 0) {
        QString text = printable(mRandom, mRandom.between(1, 10));
        if (mRandom.chance(15))
            text.insert(mRandom.below(int(text.size())), u'"');
        note(QStringLiteral("type \"%1\" into the description").arg(text));
        for (QChar c : text)
            SoakInput::character(focusTarget(), c);
    } else if (what == 1) {
        const int times = mRandom.between(1, 8);
        note(QStringLiteral("Backspace x%1 in the description").arg(times));
        for (int i = 0; i < times; ++i)
            SoakInput::key(focusTarget(), Qt::Key_Backspace);
    } else if (what == 2) {
        note(QStringLiteral("select all of the description and delete it"));
        SoakInput::key(focusTarget(), Qt::Key_Home);
        SoakInput::key(focusTarget(), Qt::Key_End, Qt::ShiftModifier);
        SoakInput::key(focusTarget(), Qt::Key_Delete);
    } else {
        const bool back = mRandom.chance(40);
        note(QStringLiteral("%1 from the description").arg(back ? QLatin1String("Shift+Tab") : QLatin1String("Tab")));
        SoakInput::key(focusTarget(), back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    }
    return QString();
}

QString SoakRunner::menuByMouse()
{
    const QList<SoakInput::MenuEntry> entries = soakEntries(mWindow->menuBar());
    if (entries.isEmpty())
        return QStringLiteral("the menu bar has no entries");
    const SoakInput::MenuEntry entry = mRandom.pick(entries);
    note(QStringLiteral("menu %1%2").arg(entry.caption, entry.action->isEnabled() ? QString() : QStringLiteral(" (grey)")));
    noteEntry(entry);
    if (QString why; !SoakInput::choose(mWindow->menuBar(), entry, &why))
        return QStringLiteral("the menu did not open on the way to %1: %2").arg(entry.caption, why);
    return QString();
}

QString SoakRunner::menuByShortcut()
{
    QList<std::pair<SoakInput::MenuEntry, QKeySequence>> strokes;
    for (const SoakInput::MenuEntry &entry : soakEntries(mWindow->menuBar())) {
        for (const QKeySequence &sequence : entry.action->shortcuts()) {
            if (!sequence.isEmpty())
                strokes.append({entry, sequence});
        }
    }
    if (strokes.isEmpty())
        return menuByMouse();
    const auto &[entry, sequence] = mRandom.pick(strokes);
    const QKeyCombination combination = sequence[0];
    note(QStringLiteral("%1 (%2) on %3").arg(sequence.toString(), entry.caption, widgetName(focusTarget())));
    noteEntry(entry);
    SoakInput::key(focusTarget(), combination.key(), combination.keyboardModifiers());
    return QString();
}

QString SoakRunner::chooseEntry(const QString &objectName, bool byShortcut)
{
    for (const SoakInput::MenuEntry &entry : soakEntries(mWindow->menuBar())) {
        if (entry.path.last() != objectName)
            continue;
        noteEntry(entry);
        const QList<QKeySequence> shortcuts = entry.action->shortcuts();
        if (byShortcut && !shortcuts.isEmpty() && !shortcuts.first().isEmpty()) {
            const QKeyCombination combination = shortcuts.first()[0];
            note(QStringLiteral("%1 (%2) on %3").arg(shortcuts.first().toString(), entry.caption, widgetName(focusTarget())));
            SoakInput::key(focusTarget(), combination.key(), combination.keyboardModifiers());
            return QString();
        }
        note(QStringLiteral("menu %1%2").arg(entry.caption, entry.action->isEnabled() ? QString() : QStringLiteral(" (grey)")));
        if (QString why; !SoakInput::choose(mWindow->menuBar(), entry, &why))
            return QStringLiteral("the menu did not open on the way to %1: %2").arg(entry.caption, why);
        return QString();
    }
    return QStringLiteral("the menu has no entry %1").arg(objectName);
}

QString SoakRunner::fileCommand()
{
    static const QStringList commands = {QStringLiteral("mnuFileOpen"), QStringLiteral("mnuFileOpen"),
                                         QStringLiteral("mnuFileSave"), QStringLiteral("mnuFileSaveAs"),
                                         QStringLiteral("mnuFileSaveAs")};
    return chooseEntry(mRandom.pick(commands), mRandom.chance(50));
}

QString SoakRunner::undoOrRedo()
{
    const int how = mRandom.weighted({40, 25, 10, 15, 10});
    mIntent = how == 0 || how == 3 ? Intent::Undo : Intent::Redo;
    if (how >= 3)
        return chooseEntry(how == 3 ? QStringLiteral("mnuEditUndo") : QStringLiteral("mnuEditRedo"), false);
    static const QList<Qt::KeyboardModifiers> modifiers = {Qt::ControlModifier, Qt::ControlModifier,
                                                           Qt::ControlModifier | Qt::ShiftModifier};
    const int key = how == 0 ? Qt::Key_Z : how == 1 ? Qt::Key_Y : Qt::Key_Z;
    note(QStringLiteral("%1 on %2").arg(keyName(key, modifiers[how]), widgetName(focusTarget())));
    SoakInput::key(focusTarget(), key, modifiers[how]);
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
        int steps = 0;
        while (undo ? history.canUndo() : history.canRedo()) {
            ensureActive();
            const int before = stack.index();
            if (mRandom.chance(85)) {
                SoakInput::key(focusTarget(), undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
            } else {
                for (const SoakInput::MenuEntry &entry : soakEntries(mWindow->menuBar())) {
                    if (isEntry(entry, undo ? "mnuEditUndo" : "mnuEditRedo"))
                        SoakInput::choose(mWindow->menuBar(), entry);
                }
            }
            SoakInput::closePopups();
            if (stack.index() == before)
                return QStringLiteral("%1 did nothing at history step %2 on %3")
                    .arg(undo ? QLatin1String("Ctrl+Z") : QLatin1String("Ctrl+Y")).arg(before).arg(widgetName(focusTarget()));
            QString problem = checkHistory(intent);
            if (problem.isEmpty() && (++steps % 50 == 0 || !(undo ? history.canUndo() : history.canRedo()))) {
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

QPoint SoakRunner::mapPoint(QString *where)
{
    PicWell *picture = mWindow->findChild<PicWell *>();
    const int wells = mState.wellCount;
    const int kind = mRandom.weighted({55, 15, 15, 15});
    if (kind == 0 && wells > 0) {
        const int s = mRandom.between(1, wells);
        *where = QStringLiteral("well %1").arg(spotname(mState, s).toString());
        return picture->toPixel(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)]).toPoint();
    }
    if (kind == 1 && wells > 1) {
        const int s = mRandom.between(1, wells - 1);
        *where = QStringLiteral("between wells %1 and %2").arg(s).arg(s + 1);
        return picture->toPixel((mState.spotX[std::size_t(s)] + mState.spotX[std::size_t(s + 1)]) / 2,
                                (mState.spotY[std::size_t(s)] + mState.spotY[std::size_t(s + 1)]) / 2).toPoint();
    }
    if (kind == 2) {
        *where = QStringLiteral("off the map");
        const QList<QPoint> outside = {QPoint(-8, -8), QPoint(picture->width() + 15, picture->height() / 2),
                                       QPoint(picture->width() / 2, picture->height() + 20), QPoint(-30, picture->height() / 3)};
        return mRandom.pick(outside);
    }
    const QPoint at(mRandom.below(std::max(picture->width(), 1)), mRandom.below(std::max(picture->height(), 1)));
    *where = QStringLiteral("map point %1,%2").arg(at.x()).arg(at.y());
    return at;
}

QString SoakRunner::mapMouse()
{
    PicWell *picture = mWindow->findChild<PicWell *>();
    if (!picture->isVisible())
        return QString();
    QString from;
    const QPoint a = mapPoint(&from);
    const Qt::MouseButton button = randomButton(mRandom);
    switch (mRandom.weighted({20, 40, 10, 30})) {
    case 0:
        note(QStringLiteral("hover over %1").arg(from));
        SoakInput::move(picture, a);
        break;
    case 1:
        note(QStringLiteral("%1 click on %2").arg(buttonName(button), from));
        SoakInput::move(picture, a);
        SoakInput::click(picture, a, button);
        break;
    case 2:
        note(QStringLiteral("%1 double click on %2").arg(buttonName(button), from));
        SoakInput::move(picture, a);
        SoakInput::doubleClick(picture, a, button);
        break;
    default: {
        QString to;
        const QPoint b = mapPoint(&to);
        note(QStringLiteral("%1 drag from %2 to %3").arg(buttonName(button), from, to));
        SoakInput::drag(picture, a, b, button, mRandom.between(1, 5));
        break;
    }
    }
    return QString();
}

QString SoakRunner::mapWheel()
{
    PicWell *picture = mWindow->findChild<PicWell *>();
    QString where;
    const QPoint at = mapPoint(&where);
    static const QList<QPoint> deltas = {QPoint(0, 120), QPoint(0, -120), QPoint(0, 240), QPoint(0, -360),
                                         QPoint(0, 15), QPoint(0, -40), QPoint(120, 0), QPoint(0, 1200)};
    const QPoint delta = mRandom.pick(deltas);
    note(QStringLiteral("wheel %1,%2 over %3").arg(delta.x()).arg(delta.y()).arg(where));
    SoakInput::wheel(picture, at, delta);
    return QString();
}

QString SoakRunner::framesWheel()
{
    auto *frames = mWindow->findChild<QGroupBox *>(QStringLiteral("fraMain"));
    const QPoint at(mRandom.below(std::max(frames->width(), 1)), mRandom.below(std::max(frames->height(), 1)));
    const QPoint delta(0, mRandom.pick(QList<int>{120, -120, -120, 30, -30, 480, -720}));
    note(QStringLiteral("wheel %1 over the frames at %2,%3").arg(delta.y()).arg(at.x()).arg(at.y()));
    SoakInput::wheel(frames, at, delta);
    return QString();
}

QString SoakRunner::mapKeys()
{
    PicWell *picture = mWindow->findChild<PicWell *>();
    QString first;
    if (QApplication::focusWidget() != picture && picture->isVisible()) {
        QString where;
        const QPoint at = mapPoint(&where);
        first = QStringLiteral("click %1, then ").arg(where);
        SoakInput::move(picture, at);
        SoakInput::click(picture, at);
    }
    static const QList<int> keys = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Enter};
    QStringList pressed;
    QList<int> strokes;
    for (int i = mRandom.between(1, 6); i > 0; --i) {
        strokes.append(mRandom.pick(keys));
        pressed.append(keyName(strokes.last(), {}));
    }
    note(first + QStringLiteral("keys %1 on %2").arg(pressed.join(u' '), widgetName(focusTarget())));
    for (int key : std::as_const(strokes))
        SoakInput::key(focusTarget(), key);
    return QString();
}

QString SoakRunner::scrollBar()
{
    auto *vsb = mWindow->findChild<QScrollBar *>(QStringLiteral("vsb"));
    if (!vsb->isVisible() || vsb->height() < 4)
        return QString();
    QStyleOptionSlider option;
    option.initFrom(vsb);
    option.orientation = vsb->orientation();
    option.minimum = vsb->minimum();
    option.maximum = vsb->maximum();
    option.sliderPosition = vsb->sliderPosition();
    option.sliderValue = vsb->value();
    option.singleStep = vsb->singleStep();
    option.pageStep = vsb->pageStep();
    option.upsideDown = vsb->invertedAppearance();
    const auto part = [&](QStyle::SubControl control) {
        return vsb->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, vsb);
    };
    const int how = mRandom.weighted({20, 20, 15, 15, 30});
    static const QStyle::SubControl clicks[] = {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine,
                                                QStyle::SC_ScrollBarSubPage, QStyle::SC_ScrollBarAddPage};
    static const char *const names[] = {"up arrow", "down arrow", "page above", "page below"};
    if (how < 4) {
        const QRect rect = part(clicks[how]);
        note(QStringLiteral("click the scroll bar's %1").arg(QLatin1String(names[how])));
        if (rect.isValid())
            SoakInput::click(vsb, rect.center());
        return QString();
    }
    const QRect slider = part(QStyle::SC_ScrollBarSlider);
    const QRect groove = part(QStyle::SC_ScrollBarGroove);
    if (!slider.isValid() || !groove.isValid())
        return QString();
    const QPoint to(slider.center().x(), groove.top() + mRandom.below(std::max(groove.height(), 1)) + (mRandom.chance(10) ? 200 : 0));
    note(QStringLiteral("drag the scroll box from %1 to %2").arg(slider.center().y()).arg(to.y()));
    SoakInput::drag(vsb, slider.center(), to, Qt::LeftButton, mRandom.between(1, 6));
    return QString();
}

QString SoakRunner::resize()
{
    QSize size;
    const int kind = mRandom.weighted({20, 60, 20});
    if (kind == 0)
        size = QSize(mRandom.between(1, 260), mRandom.between(1, 200));
    else if (kind == 1)
        size = QSize(mRandom.between(400, 1300), mRandom.between(300, 950));
    else
        size = QSize(mRandom.between(1400, 2600), mRandom.between(1000, 1900));
    note(QStringLiteral("resize the window to %1 x %2").arg(size.width()).arg(size.height()));
    mWindow->resize(size);
    return QString();
}

QString SoakRunner::windowState()
{
    switch (mRandom.below(4)) {
    case 0:
        note(QStringLiteral("maximise the window"));
        mWindow->showMaximized();
        break;
    case 1:
        note(QStringLiteral("restore the window"));
        mWindow->showNormal();
        break;
    case 2:
        note(QStringLiteral("minimise the window and restore it"));
        mWindow->showMinimized();
        QCoreApplication::processEvents();
        mWindow->showNormal();
        break;
    default:
        note(QStringLiteral("full screen, then back"));
        mWindow->showFullScreen();
        QCoreApplication::processEvents();
        mWindow->showNormal();
        break;
    }
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(mWindow.get());
    return QString();
}

QString SoakRunner::listButton()
{
    auto *list = mWindow->findChild<QPushButton *>(QStringLiteral("CmdList"));
    note(QStringLiteral("click List"));
    if (list->isVisible())
        SoakInput::click(list, list->rect().center());
    return QString();
}

QString SoakRunner::mnemonic()
{
    static const QString letters = QStringLiteral("FESTIHQXN");
    const QChar letter = letters[mRandom.below(int(letters.size()))];
    note(QStringLiteral("Alt+%1 on %2").arg(letter).arg(widgetName(focusTarget())));
    SoakInput::key(focusTarget(), Qt::Key_A + (letter.unicode() - u'A'), Qt::AltModifier);
    return QString();
}

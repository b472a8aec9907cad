// The whole window under a long random sequence of user actions: no input
// crashes it, hangs it or leaves the document and what the window shows of
// it apart, saved files read back to the document, and the history gives
// back the documents it went through. Without arguments it is the suite's
// run, 2,000 actions from a fixed seed; for longer runs:
//
//   tst_soak --actions N | --minutes M [--seed S] [--verbose]
//
// The same seed gives the same actions, so `--seed S --actions N` replays a
// failure exactly. A timed run goes on after a failure with the next seed,
// so that one fault does not hide the others. Everything runs offscreen in
// a home of its own, removed afterwards.
#include "soakchecks.h"
#include "soakdialogs.h"
#include "windowdriver.h"

#include "app/programstyle.h"
#include "core/files/recovery.h"
#include "core/plate/plategeometry.h"
#include "mainwindow/documenthistory.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QStyleOptionSlider>
#include <QUndoStack>

#include <cstdio>

using namespace Tessar;

namespace {

struct Options
{
    std::uint64_t seed = 20250611;
    qint64 actions = 2000;   // 0: until the deadline
    bool verbose = false;    // every action and the dialogs it met, on stderr
};

QString widgetName(const QWidget *widget)
{
    if (!widget->objectName().isEmpty() || !widget->parentWidget())
        return widget->objectName().isEmpty() ? QLatin1String(widget->metaObject()->className()) : widget->objectName();
    return widgetName(widget->parentWidget()) + u"'s "_s + QLatin1String(widget->metaObject()->className());
}

class Soak
{
public:
    Soak(const Options &options, QDeadlineTimer deadline) : mOptions(options), mDeadline(deadline) { mRandom.engine.seed(options.seed); }

    // Why the run failed, with the actions that led there; empty when it did not.
    QString run()
    {
        prepareFolder();
        start(true);
        QList<int> weights;
        for (const Action &action : mTable)
            weights.append(action.weight);
        QString problem = afterAction();
        while (problem.isEmpty() && (mOptions.actions <= 0 || mDone < mOptions.actions) && !mDeadline.hasExpired()) {
            // Now and then the program ends and starts again on the settings it left.
            if (mDone > 0 && mDone % 1000 == 0) {
                start(false);
                mTrail.append(u"-- the program closed and started again on the settings it left"_s);
            }
            ensureActive();
            mSaving = false;
            mWalk.clear();
            mHistoryChanges = 0;
            mFailure.clear();
            mFiles->savedAs.reset();
            mSaveEnabledBefore = d.child<QAction>(u"mnuFileSave"_s)->isEnabled();
            mPathBefore = d.state.filePath;
            const Action &action = mTable[mRandom.weighted(weights)];
            mCurrent = QLatin1String(action.name);   // until the action says more
            action.run();
            const QString after = afterAction();
            problem = mFailure.isEmpty() ? after : mFailure;
            mDone += problem.isEmpty();
        }
        stop();
        if (problem.isEmpty())
            return problem;
        return u"FAILED at action %1: %2\nreplay: tst_soak --seed %3 --actions %1 --verbose\nthe last actions, the failing one last:\n  "_s
                   .arg(mDone + 1).arg(problem).arg(mOptions.seed) + mTrail.join(u"\n  "_s);
    }

    qint64 done() const { return mDone; }

private:
    struct Action
    {
        const char *name;
        int weight;   // per thousand or so
        std::function<void()> run;
    };

    QString folder() const { return d.dir.path(); }

    void note(const QString &what)
    {
        mCurrent = what;
        if (mOptions.verbose)
            std::fprintf(stderr, "#%lld %s\n", mDone + 1, qPrintable(what));
    }

    // The corpus copied, and names a save cannot write to.
    void prepareFolder()
    {
        const QDir dir(folder());
        for (const char *sub : {"kwl", "table", "saved", "a-folder.kwl"})
            dir.mkpath(QLatin1String(sub));
        writeBytes(dir.filePath(u"plain-file"_s), "not a sample file\n");
        const QString source = qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR));
        for (const auto &[from, to] : {std::pair{"corpus", "kwl"}, std::pair{"table-corpus", "table"}}) {
            const QDir corpus(source + u"/fuzz/"_s + QLatin1String(from));
            for (const QString &name : corpus.entryList(QDir::Files, QDir::Name))
                QFile::copy(corpus.filePath(name), dir.filePath(QLatin1String(to) + u'/' + name));
        }
    }

    // A first run, or one on the settings the window left when it closed as
    // a user closes it; either way with samples an earlier run left unsaved,
    // from the corpus, at fixed times so that Recover lists them in order.
    void start(bool fresh)
    {
        stop();
        const QStringList names = QDir(folder() + u"/kwl"_s).entryList(QDir::Files, QDir::Name);
        for (int i = 0; i < 2 && !names.isEmpty(); ++i, ++mPlanted) {
            const QString source = folder() + u"/kwl/"_s + names[mPlanted % names.size()];
            const QString path = recoveryFolder() + u"/unsaved-20200101-000000-%1-1.kwl"_s.arg(mPlanted, 3, 10, QLatin1Char('0'));
            if (writeRecoveryFile(path, fileBytes(source), mPlanted % 2 ? QString() : source))
                QSettings(path + u".note"_s, QSettings::IniFormat)
                    .setValue(u"Written"_s, QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(60 * mPlanted).toString(Qt::ISODateWithMs));
        }
        d.start(fresh ? QSize(900, 700) : QSize(), fresh);
        d.dialogs = std::make_unique<SoakDialogs>(mRandom, folder());
        mFiles = static_cast<SoakDialogs *>(d.dialogs.get());
        // Every step pushed, merged, undone or redone; a change of the
        // document that comes with none of these is one the history missed.
        QObject::connect(&d.window->history(), &DocumentHistory::changed, d.window.get(), [this] { ++mHistoryChanges; });
        mDocs.clear();
        mPrevIndex = mPrevCount = 0;
    }

    void stop()
    {
        if (!d.window)
            return;
        UserInput::closePopups();
        d.window->close();
        QCoreApplication::processEvents();
        d.stop();
        QCoreApplication::processEvents();
    }

    // The help window and the like stay open; the user clicks back into the
    // main window. Activation takes a trip through the platform; keys sent
    // before it arrives would go to the window left.
    void ensureActive()
    {
        UserInput::closePopups();
        if (QApplication::activeWindow() != d.window.get()) {
            QApplication::setActiveWindow(d.window.get());
            (void)QTest::qWaitForWindowActive(d.window.get(), 1000);
        }
    }

    QWidget *focusTarget() const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus && focus->window() == d.window.get() ? focus : d.window.get();
    }

    // What a command chosen means for the checks after it.
    void expect(const QAction *command)
    {
        const QString name = command->objectName();
        mSaving = mSaving || name == u"mnuFileSave" || name == u"mnuFileSaveAs";
        if (name == u"mnuEditUndo" || name == u"mnuEditRedo")
            mWalk = name.mid(7);
    }

    // Key strokes on whatever has the focus; one that is a command's
    // shortcut counts as that command.
    void keys(const QList<QKeyCombination> &strokes, const QString &text = QString())
    {
        QStringList names;
        for (const QKeyCombination stroke : strokes)
            names.append(QKeySequence(stroke).toString());
        note(u"%1 on %2"_s.arg(names.join(u' '), widgetName(focusTarget())));
        for (const QKeyCombination stroke : strokes) {
            for (const QAction *command : d.window->findChildren<QAction *>()) {
                if (command->shortcuts().contains(QKeySequence(stroke)))
                    expect(command);
            }
            UserInput::key(focusTarget(), stroke.key(), stroke.keyboardModifiers(), text);
        }
    }

    // A menu entry chosen with the mouse through the menus, or by its shortcut.
    void choose(const UserInput::MenuEntry &entry, bool byShortcut)
    {
        const QList<QKeySequence> shortcuts = entry.action->shortcuts();
        if (byShortcut && !shortcuts.isEmpty())
            return keys({mRandom.pick(shortcuts)[0]});
        expect(entry.action);
        note(u"menu %1%2"_s.arg(entry.caption, entry.action->isEnabled() ? QString() : u" (grey)"_s));
        QString why;
        if (!UserInput::choose(d.window->menuBar(), entry, &why))
            mFailure = u"the menu did not open on the way to %1: %2"_s.arg(entry.caption, why);
    }

    // A well, a point between two wells (where a click or drag starts on
    // none), a point off the map, or anywhere on it.
    QPoint mapPoint(QString *where)
    {
        const PicWell *picture = d.picture();
        const int kind = mRandom.weighted({55, 15, 15, 15});
        const auto s = std::size_t(mRandom.between(1, d.state.wellCount - 1));
        const auto at = [&](float x, float y) { return picture->toPixel(x, y).toPoint(); };
        const QPoint point(mRandom.below(std::max(picture->width(), 1)), mRandom.below(std::max(picture->height(), 1)));
        *where = kind == 0 ? u"well "_s + spotname(d.state, int(s)).toString() : kind == 1 ? u"between wells %1 and %2"_s.arg(s).arg(s + 1)
               : kind == 2 ? u"off the map"_s : u"map point %1,%2"_s.arg(point.x()).arg(point.y());
        if (kind == 0)
            return at(d.state.spotX[s], d.state.spotY[s]);
        if (kind == 1)
            return at((d.state.spotX[s] + d.state.spotX[s + 1]) / 2, (d.state.spotY[s] + d.state.spotY[s + 1]) / 2);
        return kind == 3 ? point : mRandom.pick(QList<QPoint>{{-8, -8}, {picture->width() + 15, picture->height() / 2},
                                                                 {picture->width() / 2, picture->height() + 20}, {-30, picture->height() / 3}});
    }

    void mapMouse()
    {
        static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton};
        static const char *const buttonNames[] = {"left", "right", "middle", "back"};
        static const char *const hows[] = {"hover over", "click on", "double click on", "drag from"};
        QString from, to;
        const QPoint a = mapPoint(&from);
        const int button = mRandom.weighted({6, 2, 1, 1});
        const int how = mRandom.weighted({20, 40, 10, 30});
        const QPoint b = how == 3 ? mapPoint(&to) : a;
        note(u"%1 %2 %3%4"_s.arg(QLatin1String(buttonNames[button]), QLatin1String(hows[how]), from, how == 3 ? u" to "_s + to : QString()));
        if (!d.picture()->isVisible())
            return;
        QTest::mouseMove(d.picture(), a);
        if (how == 3)
            UserInput::drag(d.picture(), a, b, buttons[button], mRandom.between(1, 5));
        else if (how > 0)
            UserInput::click(d.picture(), a, buttons[button], how == 2);
    }

    QString afterAction()
    {
        UserInput::closePopups();
        // A dialog opened without waiting for it is answered here.
        for (int i = 0; i < 500 && QApplication::activeModalWidget() && mAnswerer.failure.isEmpty(); ++i)
            QTest::qWait(2);
        QCoreApplication::processEvents();
        UserInput::closePopups();
        const QStringList seen = mAnswerer.take();
        if (!mCurrent.isEmpty()) {
            mTrail.append(u"#%1 %2"_s.arg(mDone + 1).arg(mCurrent) + (seen.isEmpty() ? QString() : u"   ["_s + seen.join(u"; ") + u']'));
            if (mOptions.verbose && !seen.isEmpty())
                std::fprintf(stderr, "    answered: %s\n", qPrintable(seen.join(u"; ")));
            if (mTrail.size() > 25)
                mTrail.removeFirst();
        }
        if (!mAnswerer.failure.isEmpty())
            return mAnswerer.failure;
        if (!d.window->isVisible())
            return u"the main window closed"_s;
        QString problem = SoakChecks::check(d);
        problem = problem.isEmpty() ? checkSave(seen) : problem;
        return problem.isEmpty() ? checkHistory(mWalk) : problem;
    }

    // A save the user asked for wrote the document, or told why not.
    QString checkSave(const QStringList &seen)
    {
        if (!mSaving || !mFiles->savedAs.value_or(mSaveEnabledBefore && !mPathBefore.isEmpty()))
            return QString();
        const auto told = std::find_if(seen.rbegin(), seen.rend(), [](const QString &dialog) {
            return dialog.contains(u"could not be saved") || dialog.contains(u"were not saved");
        });
        const QString path = d.state.filePath;
        if (mFiles->unwritable(u"kwl"_s).contains(path))
            return told == seen.rend() ? u"saving to %1, where nothing can be written, told the user nothing"_s.arg(path) : QString();
        if (told != seen.rend())
            return u"saving to %1 failed: %2"_s.arg(path, *told);
        if (d.window->isModified())
            return u"the document still counts as changed after saving to %1"_s.arg(path);
        const QByteArray bytes = fileBytes(path);
        if (bytes != sampleFileBytes(d.state))
            return u"the file saved, %1, is not the document"_s.arg(path);
        return SoakChecks::readsBack(d.state, bytes);
    }

    // The document at each step of the history is kept by the step's index.
    // `walk` is "Undo" or "Redo" when the action meant to step through the
    // history: then the document must be the one seen at that step before.
    // Otherwise a step pushed where others were undone replaces them, and
    // the documents seen above it no longer count; a document that changed
    // while the history did not is one the history missed.
    QString checkHistory(const QString &walk)
    {
        const QUndoStack &stack = d.window->history().stack();
        const int index = stack.index();
        const bool walked = !walk.isEmpty() && stack.count() == mPrevCount;
        if (!walked)
            mDocs.resize(std::min(mDocs.size(), qsizetype(std::min(mPrevIndex, index)) + 1));
        mPrevIndex = index;
        mPrevCount = stack.count();
        if (mDocs.size() <= index)
            mDocs.resize(index + 1);
        const QByteArray hash = QCryptographicHash::hash(SoakChecks::fingerprint(d), QCryptographicHash::Sha1);
        const QByteArray known = std::exchange(mDocs[index], hash);
        if (known.isEmpty() || known == hash)
            return QString();
        if (walked)
            return u"%1 to history step %2 (\"%3\") gives a document other than the one seen there before"_s.arg(walk).arg(index).arg(stack.undoText());
        if (mHistoryChanges == 0)
            return u"the document changed, but the history has no step for it (still at step %1, \"%2\")"_s.arg(index).arg(stack.undoText());
        return QString();
    }

    // Undo all the way back, then Redo all the way forward, by keys: every
    // document on the way must be the one seen at that step before.
    QString historyWalk()
    {
        DocumentHistory &history = d.window->history();
        const QUndoStack &stack = history.stack();
        const int end = stack.count();
        note(u"undo all %1 steps back, then redo them all"_s.arg(stack.index()));
        for (const bool undo : {true, false}) {
            for (int steps = 1; undo ? history.canUndo() : history.canRedo(); ++steps) {
                ensureActive();
                const int before = stack.index();
                UserInput::key(focusTarget(), undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
                UserInput::closePopups();
                if (stack.index() == before)
                    return u"%1 did nothing at history step %2 on %3"_s.arg(undo ? u"Undo"_s : u"Redo"_s).arg(before).arg(widgetName(focusTarget()));
                QString problem = checkHistory(undo ? u"Undo"_s : u"Redo"_s);
                if (problem.isEmpty() && (steps % 50 == 0 || !(undo ? history.canUndo() : history.canRedo())))
                    problem = SoakChecks::check(d);
                if (!problem.isEmpty())
                    return problem;
            }
        }
        mWalk = u"Redo"_s;
        return stack.index() == end ? QString() : u"Redo stopped at step %1 of %2"_s.arg(stack.index()).arg(end);
    }

    // A text the document holds, for Find to find; or a key name.
    QString cellText()
    {
        for (int tries = 0; tries < 20; ++tries) {
            const int s = mRandom.between(1, std::max(d.state.wellCount, 1));
            const int f = mRandom.below(std::max(d.state.fieldCount(), 1));
            if (d.state.sampleTable.contains(s, f) && !d.state.sampleTable(s, f).isEmpty())
                return d.state.sampleTable(s, f);
        }
        return mRandom.chance(50) ? d.state.keyName[std::size_t(mRandom.between(1, KeyCount))] : u"x"_s;
    }

    // The user's actions: each picks at random what a user might do next
    // and does it through the real input path.
    const QList<Action> mTable = {
        {"click", 188, [this] {
             // A cell of a frame (its value, its caption, below the rows,
             // twice or with the right button), the description, or List.
             if (d.state.nFrames < 1)
                 return mapMouse();
             const int where = mRandom.weighted({80, 16, 4});
             Grid *grid = d.grid(mRandom.below(d.state.nFrames));
             const int how = where == 0 ? mRandom.weighted({70, 10, 5, 10, 5}) : 0;
             QWidget *target = where == 0 ? grid->viewport() : d.child<QWidget>(where == 1 ? u"TxtFileDesc"_s : u"CmdList"_s);
             QPoint at = grid->visualItemRect(grid->item(mRandom.below(grid->rows()), how == 1 ? 0 : 1)).center();
             if (how == 2)
                 at = QPoint(target->width() / 2, grid->visualItemRect(grid->item(grid->rows() - 1, 1)).bottom() + 4);
             if (where > 0)
                 at = QPoint(mRandom.between(1, std::max(target->width() - 2, 1)), target->height() / 2);
             note(u"%1 click on %2 at %3,%4"_s.arg(how == 4 ? u"right"_s : how == 3 ? u"double"_s : u"left"_s, widgetName(target)).arg(at.x()).arg(at.y()));
             if (target->isVisible())
                 UserInput::click(target, at, how == 4 ? Qt::RightButton : Qt::LeftButton, how == 3);
         }},
        {"map mouse", 102, [this] { mapMouse(); }},
        {"type", 200, [this] {
             const QString text = mRandom.text(mRandom.between(1, 8), mRandom.chance(20) ? 25 : 0);
             note(u"type \"%1\" into %2"_s.arg(text, widgetName(focusTarget())));
             UserInput::type(focusTarget(), text);
         }},
        {"keys", 190, [this] {
             // Editing keys, now and then Alt with a menu's letter, or Ctrl
             // with a letter, which gives a control character or a command.
             static const QList<QKeyCombination> strokes = {
                 Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Return, Qt::KeypadModifier | Qt::Key_Enter,
                 Qt::Key_Tab, Qt::Key_Tab, Qt::ShiftModifier | Qt::Key_Backtab, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                 Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down, Qt::ControlModifier | Qt::Key_Return,
                 Qt::Key_Insert, Qt::Key_Escape, Qt::ControlModifier | Qt::Key_Home, Qt::ControlModifier | Qt::Key_End, Qt::Key_Space,
                 Qt::ShiftModifier | Qt::Key_PageDown, Qt::ShiftModifier | Qt::Key_Home, Qt::ShiftModifier | Qt::Key_End};
             const int how = mRandom.weighted({80, 6, 14});
             const int letter = mRandom.below(26);
             if (how == 0)
                 keys(QList<QKeyCombination>(mRandom.chance(20) ? mRandom.between(2, 6) : 1, mRandom.pick(strokes)));
             else
                 keys({(how == 1 ? Qt::AltModifier : Qt::ControlModifier) | Qt::Key(Qt::Key_A + letter)},
                      how == 1 ? QString() : QString(QChar(char16_t(1 + letter))));
         }},
        {"command", 250, [this] {
             // Any entry of the menus (but Exit, which would end the run),
             // one by its shortcut, or one of the commands that change the
             // document as a whole or its history, asked for more often.
             static const QStringList often = {u"mnuFileOpen"_s, u"mnuFileSave"_s, u"mnuFileSaveAs"_s, u"mnuFileSaveAs"_s, u"mnuEditUndo"_s,
                                               u"mnuEditUndo"_s, u"mnuEditUndo"_s, u"mnuEditRedo"_s, u"mnuEditRedo"_s};
             QList<UserInput::MenuEntry> entries = UserInput::menuEntries(d.window->menuBar());
             entries.removeIf([](const UserInput::MenuEntry &entry) { return entry.path.last() == u"mnuFileExit"; });
             const int how = mRandom.weighted({100, 80, 70});
             if (how == 1)
                 entries.removeIf([](const UserInput::MenuEntry &entry) { return entry.action->shortcut().isEmpty(); });
             if (how < 2)
                 return choose(mRandom.pick(entries), how == 1);
             const QString name = mRandom.pick(often);
             choose({{name}, name, d.child<QAction>(name)}, mRandom.chance(60));
         }},
        {"history walk", 4, [this] { mFailure = historyWalk(); }},
        {"wheel", 50, [this] {
             // Over the map, or over the frames, which scroll the samples.
             QString where;
             QWidget *target = d.picture();
             QPoint at = mapPoint(&where);
             if (mRandom.chance(50)) {
                 target = d.child<QGroupBox>(u"fraMain"_s);
                 at = QPoint(mRandom.below(std::max(target->width(), 1)), mRandom.below(std::max(target->height(), 1)));
                 where = u"the frames at %1,%2"_s.arg(at.x()).arg(at.y());
             }
             const QPoint delta = mRandom.pick(QList<QPoint>{{0, 120}, {0, -120}, {0, 240}, {0, -360}, {0, 15}, {0, -40}, {120, 0}, {0, 1200}, {0, -720}});
             note(u"wheel %1,%2 over %3"_s.arg(delta.x()).arg(delta.y()).arg(where));
             UserInput::wheel(target, at, delta);
         }},
        {"scroll bar", 40, [this] {
             // A click on the arrows or the page areas, or the scroll box dragged.
             QScrollBar *vsb = d.scrollBar();
             if (!vsb->isVisible() || vsb->height() < 4)
                 return;
             QStyleOptionSlider option;
             option.initFrom(vsb);
             option.orientation = Qt::Vertical;
             option.minimum = vsb->minimum();
             option.maximum = vsb->maximum();
             option.sliderPosition = option.sliderValue = vsb->value();
             option.pageStep = vsb->pageStep();
             const QRect box = vsb->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, vsb);
             const QPoint to(vsb->width() / 2, mRandom.below(vsb->height()) + (mRandom.chance(10) ? 200 : 0));
             if (mRandom.chance(70) || !box.isValid()) {
                 note(u"click the scroll bar at %1"_s.arg(to.y() % vsb->height()));
                 UserInput::click(vsb, QPoint(to.x(), to.y() % vsb->height()));
             } else {
                 note(u"drag the scroll box from %1 to %2"_s.arg(box.center().y()).arg(to.y()));
                 UserInput::drag(vsb, box.center(), to, Qt::LeftButton, mRandom.between(1, 6));
             }
         }},
        {"resize", 21, [this] {
             static const QRect ranges[] = {{1, 1, 260, 200}, {400, 300, 900, 650}, {1400, 1000, 1200, 900}};
             static const char *const states[] = {"maximise", "minimise", "full screen"};
             const int how = mRandom.weighted({20, 60, 20, 2, 2, 2});
             if (how < 3) {
                 const QSize size(mRandom.between(ranges[how].left(), ranges[how].right()), mRandom.between(ranges[how].top(), ranges[how].bottom()));
                 note(u"resize the window to %1 x %2"_s.arg(size.width()).arg(size.height()));
                 return d.window->resize(size);
             }
             // Then back to normal, as a user does with the title bar buttons.
             note(u"%1 the window and restore it"_s.arg(QLatin1String(states[how - 3])));
             (how == 3 ? d.window->showMaximized() : how == 4 ? d.window->showMinimized() : d.window->showFullScreen());
             QCoreApplication::processEvents();
             d.window->showNormal();
             QCoreApplication::processEvents();
             QApplication::setActiveWindow(d.window.get());
         }},
    };

    Options mOptions;
    QDeadlineTimer mDeadline;
    SoakRandom mRandom;
    WindowDriver d;
    SoakDialogs *mFiles = nullptr;   // d's dialogs
    SoakAnswerer mAnswerer{mRandom, [this] { return cellText(); }};
    qint64 mDone = 0;
    int mPlanted = 0;
    QString mCurrent;                 // the action under way, as the trail shows it
    QString mFailure;                 // of the action itself
    QStringList mTrail;
    bool mSaving = false;             // the action may write the document
    bool mSaveEnabledBefore = false;
    QString mPathBefore;
    QString mWalk;                    // "Undo" or "Redo" when the action meant to step through the history
    int mHistoryChanges = 0;          // steps pushed, merged, undone or redone by the action
    QList<QByteArray> mDocs;          // the fingerprint's hash at each index of the history; empty: not seen
    int mPrevIndex = 0;
    int mPrevCount = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    double minutes = 0;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i], value = i + 1 < argc ? argv[i + 1] : "";
        bool ok = true;
        if (arg == "--verbose")
            options.verbose = true;
        else if (arg == "--seed")
            options.seed = value.toULongLong(&ok), ++i;
        else if (arg == "--actions")
            options.actions = value.toLongLong(&ok), minutes = 0, ++i;
        else if (arg == "--minutes")
            minutes = value.toDouble(&ok), options.actions = 0, ++i;
        else
            ok = false;
        if (!ok || (options.actions <= 0 && minutes <= 0)) {
            std::fprintf(stderr, "usage: tst_soak [--actions N | --minutes M] [--seed S] [--verbose]\n");
            return 2;
        }
    }
    // Settings, recovery files, kept copies and the running-copy socket go
    // into the soak's own home, never the user's.
    QTemporaryDir home(QDir::tempPath() + u"/tessar-soak-XXXXXX"_s);
    for (const auto &[variable, sub] : {std::pair{"XDG_CONFIG_HOME", "config"}, {"XDG_STATE_HOME", "state"}, {"XDG_CACHE_HOME", "cache"},
                                        {"XDG_DATA_HOME", "data"}, {"XDG_RUNTIME_DIR", "runtime"}, {"HOME", "home"}}) {
        if (!home.isValid() || !QDir(home.path()).mkpath(QLatin1String(sub)))
            qFatal("tst_soak: cannot make a private home in %s", qPrintable(QDir::tempPath()));
        qputenv(variable, QFile::encodeName(home.filePath(QLatin1String(sub))));
    }
    QFile::setPermissions(home.filePath(u"runtime"_s), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    // QTest warns of every stroke no widget took, which a soak makes on
    // purpose, and the offscreen platform of what it cannot do.
    static const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.contains(u"not accepted by receiving widget") && !message.startsWith(u"This plugin does not support"))
            previous(type, context, message);
    });
    // Qt's own dialogs, which the answerer can work, never the desktop's; the
    // window in the style the program's start gives it.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication::setStyle(new ProgramStyle);
    const QDeadlineTimer deadline(minutes > 0 ? qint64(minutes * 60000) : -1);
    int failures = 0;
    for (;; ++options.seed) {
        QElapsedTimer clock;
        clock.start();
        Soak soak(options, deadline);
        const QString failure = soak.run();
        std::fprintf(stderr, "seed %llu: %lld actions in %.1f min: %s\n", static_cast<unsigned long long>(options.seed), soak.done(),
                     clock.elapsed() / 60000.0, failure.isEmpty() ? "clean" : qPrintable(failure));
        failures += !failure.isEmpty();
        if (failure.isEmpty() || minutes <= 0 || deadline.hasExpired())
            break;
    }
    return failures == 0 ? 0 : 1;
}

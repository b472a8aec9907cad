#pragma once

// The soak's chance, and its answers to every dialog the program opens.
#include "scripteddialogs.h"
#include "userinput.h"

#include "platform/basiccolourgrid.h"
#include "platform/colourchooser.h"
#include "reports/aboutdialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QTest>
#include <QTimer>

#include <numeric>
#include <random>

using namespace Qt::StringLiterals;

// The soak's only source of chance. The engine's numbers are the same on
// every machine and build, so a seed replays a failing run exactly.
struct SoakRandom
{
    std::mt19937_64 engine;

    int below(int n) { return n < 1 ? 0 : int(engine() % std::uint64_t(n)); }
    int between(int lo, int hi) { return hi <= lo ? lo : lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template<typename T>
    const T &pick(const QList<T> &list) { return list.at(below(int(list.size()))); }
    // An index into `weights`, each as likely as its weight.
    int weighted(const QList<int> &weights)
    {
        int r = below(std::accumulate(weights.begin(), weights.end(), 0));
        for (int i = 0; i < weights.size(); r -= weights[i++]) {
            if (r < weights[i])
                return i;
        }
        return int(weights.size()) - 1;
    }
    // Mostly what a user types; `odd` percent of the characters are ones a
    // keyboard can make that the program must refuse or keep as they are.
    QString text(int length, int odd)
    {
        static const QStringList odds = {u"\u00e9"_s, u"\u00df"_s, u"\""_s, u"\u20ac"_s, u"\u00b0"_s, u"\U0001F600"_s, u"\x7f"_s, u"\x01"_s,
                                         u"\x07"_s, u"\x1b"_s, u"\u0301"_s, u"\u00a0"_s, u"\t"_s, u"&"_s, u"'"_s};
        QString text;
        for (int i = 0; i < length; ++i)
            text += chance(odd) ? pick(odds) : QString(QChar(char16_t(between(0x20, 0x7e))));
        return text;
    }
};

// The desktop's file and printer dialogs would lead out of the soak's
// folder, so they are answered at random instead: from the corpus copies
// (kwl/, table/), the files saved (saved/), and names that cannot be read
// or written; now and then cancelled. A third of the file requests go
// through Qt's own file dialog, the answerer typing the path into it. The
// colour chooser is the program's own and shown for real.
class SoakDialogs : public ScriptedDialogs
{
public:
    SoakDialogs(SoakRandom &random, QString folder) : mRandom(random), mFolder(std::move(folder)) {}

    static inline QString typed;       // the path for Qt's file dialog while it is up; empty: cancel it
    std::optional<bool> savedAs;       // whether the last Save File As was given a name

    // Paths a save can never write to, whoever runs the soak (root too): a
    // folder that is not there, a file taken for a folder, a folder where
    // the file should be.
    QStringList unwritable(const QString &ext) const
    {
        const QString dot = ext.isEmpty() ? QString() : u'.' + ext;
        return {mFolder + u"/no-such-folder/list"_s + dot, mFolder + u"/plain-file/list"_s + dot, mFolder + u"/a-folder"_s + dot};
    }

    std::optional<QString> showOpen(QWidget *parent, const FileRequest &request) override
    {
        // The corpus of the kind asked for, now and then the other kind
        // too, what the soak saved, and names that are no sample file.
        const bool samples = request.filter.contains(u"kwl"_s);
        QStringList choices = files(samples ? u"kwl"_s : u"table"_s) + files(u"saved"_s);
        if (mRandom.chance(10))
            choices += files(samples ? u"table"_s : u"kwl"_s);
        choices += {mFolder + u"/no-such-file.kwl"_s, mFolder + u"/a-folder.kwl"_s, mFolder + u"/plain-file"_s};
        return answer(parent, request, false, mRandom.pick(choices));
    }

    std::optional<QString> showSave(QWidget *parent, const FileRequest &request) override
    {
        const QString suffix = request.defaultExt.isEmpty() ? QString() : u'.' + request.defaultExt;
        const QStringList saved = files(u"saved"_s, suffix), corpus = files(u"kwl"_s);
        // A new name from a pool that keeps the folder small, over a file
        // saved, over a corpus copy that a later Open reads, or nowhere.
        QString path = mFolder + u"/saved/list%1"_s.arg(mRandom.below(24)) + suffix;
        const int how = mRandom.weighted({50, 30, 8, 12});
        if (how == 1 && !saved.isEmpty())
            path = mRandom.pick(saved);
        else if (how == 2 && !corpus.isEmpty())
            path = mRandom.pick(corpus);
        else if (how == 3)
            path = mRandom.pick(unwritable(request.defaultExt));
        if (path.contains(u"/a-folder"_s))
            QDir().mkpath(path);
        return answer(parent, request, true, path);
    }

    std::optional<Tessar::Colour> showColor(QWidget *parent, const QString &title, Tessar::Colour initial) override
    {
        Tessar::ColourChooser chooser(initial, title, parent);
        return chooser.exec() == QDialog::Accepted ? std::optional(chooser.colour()) : std::nullopt;
    }

    // Printed now and then into a PDF in the soak's folder, some pages of it.
    std::optional<int> showPrinter(QWidget *parent, QPrinter &printer) override
    {
        const int last = printer.toPage();
        printerCopies = mRandom.chance(40) ? std::optional(mRandom.between(1, 2)) : std::nullopt;
        printerOutput = mFolder + u"/printed.pdf"_s;
        printFrom = last >= 1 && mRandom.chance(50) ? mRandom.between(1, last) : 0;
        printTo = mRandom.between(printFrom, last);
        return ScriptedDialogs::showPrinter(parent, printer);
    }

private:
    QStringList files(const QString &subfolder, const QString &suffix = QString()) const
    {
        const QDir dir(mFolder + u'/' + subfolder);
        QStringList found;
        for (const QString &name : dir.entryList({u'*' + suffix}, QDir::Files, QDir::Name))
            found.append(dir.filePath(name));
        return found;
    }

    std::optional<QString> answer(QWidget *parent, const FileRequest &request, bool save, std::optional<QString> chosen)
    {
        if (mRandom.chance(8))
            chosen.reset();
        if (mRandom.chance(35)) {
            typed = chosen.value_or(QString());
            setInstance(nullptr);
            chosen = save ? instance().showSave(parent, request) : instance().showOpen(parent, request);
            setInstance(this);
            typed.clear();
        }
        if (save && request.title == u"Save File As")
            savedAs = chosen.has_value();
        answers = {chosen};
        return save ? ScriptedDialogs::showSave(parent, request) : ScriptedDialogs::showOpen(parent, request);
    }

    SoakRandom &mRandom;
    QString mFolder;
};

// Answers whatever modal dialog the program puts up, a stroke or a click at
// a time through the real input path: the dialogs it knows (a table of
// them) with edits a user would make in them, and some a user should not;
// any other with Escape, Return or one of its buttons. A dialog still open
// after 60 answers, or answers past 400 in one action, fail the run, and
// the dialog is closed so that the run reports instead of hanging.
class SoakAnswerer : public QObject
{
public:
    QString failure;
    QStringList seen;   // the dialogs that came up since the last take(), a message box with its text

    SoakAnswerer(SoakRandom &random, std::function<QString()> cellText) : mRandom(random), mCellText(std::move(cellText))
    {
        // The timer only looks; the answer runs from the event queue. An
        // answer that opens another dialog waits inside it, and a timer does
        // not fire again while its own slot is still running.
        connect(&mTimer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (mQueued || !modal || !modal->isVisible())
                return;
            mQueued = true;
            QMetaObject::invokeMethod(this, [this, guard = QPointer<QWidget>(modal)] {
                mQueued = false;
                if (guard && guard == QApplication::activeModalWidget() && guard->isVisible())
                    step(guard);
            }, Qt::QueuedConnection);
        });
        mTimer.start(2);
    }

    QStringList take()
    {
        mOpen.clear();
        mAnswered = 0;
        return std::exchange(seen, {});
    }

private:
    // What a user does inside a known dialog, to its child of that name.
    enum class Poke { Text, Keys, Items, Colour, Buttons, Tab };
    struct PokeKind
    {
        Poke poke;
        const char *target;   // Buttons: names separated by '|'
        int weight;
    };
    struct Kind
    {
        const char *name;
        const char *ok;       // null: Escape or the window's close button
        const char *cancel;
        int closing;          // percent of answers that close it
        QList<PokeKind> pokes;
    };

    static QString name(const QWidget *widget)
    {
        return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
    }
    static bool usable(const QWidget *widget, const QWidget *dialog) { return widget && widget->isVisibleTo(dialog) && widget->isEnabled(); }
    static QWidget *focusIn(QWidget *dialog) { return dialog->focusWidget() ? dialog->focusWidget() : dialog; }
    static void click(QWidget *widget, bool twice = false) { UserInput::click(widget, widget->rect().center(), Qt::LeftButton, twice); }

    void step(QWidget *modal)
    {
        auto open = std::find_if(mOpen.begin(), mOpen.end(), [modal](const auto &o) { return o.first == modal; });
        if (open == mOpen.end()) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            seen.append(name(modal) + (box ? u" \""_s + box->text().simplified() + u'"' : QString()));
            mOpen.append({modal, 0});
            open = mOpen.end() - 1;
        }
        const int answers = ++open->second;
        if (failure.isEmpty() && (answers > 60 || ++mAnswered > 400))
            failure = u"dialog %1 (\"%2\") %3"_s.arg(name(modal), modal->windowTitle(),
                                                     answers > 60 ? u"was still open after 60 answers"_s : u"came after 400 answers in one action"_s);
        // Once something has failed, everything is closed on the way out.
        if (!failure.isEmpty()) {
            UserInput::closePopups();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        if (QApplication::activePopupWidget())
            return UserInput::closePopups();
        // The system-information tool would be a program outside the soak.
        if (auto *about = qobject_cast<Tessar::AboutDialog *>(modal))
            about->setSysInfoTools({u"/nonexistent/tessar-soak-sysinfo"_s});
        static const QList<Kind> kinds = {
            {"Config", "OKBtn", "CancelBtn", 15, {{Poke::Text, "Text1", 12}, {Poke::Text, "cboNField", 16}, {Poke::Keys, "cboNField", 9},
                                                  {Poke::Items, "grdfield", 34}, {Poke::Items, "GrdOp", 19}, {Poke::Tab, "", 10}}},
            {"Colorfrm", "OKBtn", "CancelBtn", 25, {{Poke::Buttons, "Operator1|Operator2|Operator3|Operator4|Operator5|Operator6|Background|Command1", 1}}},
            {"ColorChooser", "OKBtn", "CancelBtn", 30, {{Poke::Colour, "basicColors", 75}, {Poke::Keys, "basicColors", 25}}},
            {"FindFrm", "OK_Btn", "CancelBtn", 35, {{Poke::Text, "Text1", 80}, {Poke::Keys, "Text1", 20}}},
            {"Stat", nullptr, nullptr, 30, {{Poke::Keys, "Combo1", 70}, {Poke::Text, "Combo1", 30}}},
            {"RecoverDialog", "recoverOpen", "recoverCancel", 25, {{Poke::Items, "recoverList", 60}, {Poke::Buttons, "recoverDelete|recoverOpen", 40}}},
            {"frmAbout", "cmdOK", "cmdOK", 70, {{Poke::Buttons, "cmdSysInfo", 1}}},
        };
        const auto kind = std::find_if(kinds.begin(), kinds.end(), [modal](const Kind &k) { return modal->objectName() == QLatin1String(k.name); });
        if (kind == kinds.end())
            answerOther(modal, answers);
        else if (answers > 12 || mRandom.chance(kind->closing) || !poke(modal, *kind))
            close(modal, kind->ok, kind->cancel);
    }

    void close(QWidget *dialog, const char *ok, const char *cancel)
    {
        const int choice = mRandom.weighted({45, 30, 20, 5});
        auto *button = dialog->findChild<QAbstractButton *>(QLatin1String(choice == 0 ? ok : cancel));
        if (choice < 2 && (choice == 0 ? ok : cancel) && usable(button, dialog))
            click(button);
        else if (choice == 3)
            dialog->close();   // the close button on the title bar
        else
            UserInput::key(focusIn(dialog), Qt::Key_Escape);
    }

    // False when the child to poke is not there to be poked.
    bool poke(QWidget *dialog, const Kind &kind)
    {
        QList<int> weights;
        for (const PokeKind &p : kind.pokes)
            weights.append(p.weight);
        const PokeKind &poke = kind.pokes[mRandom.weighted(weights)];
        QWidget *target = dialog->findChild<QWidget *>(QLatin1String(poke.target));
        if (auto *combo = qobject_cast<QComboBox *>(target); combo && combo->lineEdit())
            target = combo->lineEdit();
        if (poke.poke != Poke::Tab && poke.poke != Poke::Buttons && !usable(target, dialog))
            return false;
        if (poke.poke == Poke::Text) {
            // All of it replaced by a text of the document, any text, a
            // number (or what only looks like one), or nothing.
            if (dialog->focusWidget() != target || mRandom.chance(20))
                click(target);
            UserInput::key(target, Qt::Key_A, Qt::ControlModifier);
            static const QStringList numbers = {u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"7"_s, u"10"_s, u"11"_s, u"99"_s, u"-3"_s, u"3.5"_s, u"2e1"_s, u" 7"_s};
            const int how = mRandom.weighted({35, 30, 20, 15});
            const QString text = how == 0 ? mCellText() : how == 1 ? mRandom.text(mRandom.between(1, 6), 12) : how == 2 ? mRandom.pick(numbers) : QString();
            if (text.isEmpty())
                UserInput::key(target, Qt::Key_Backspace);
            UserInput::type(target, text);
        } else if (poke.poke == Poke::Items) {
            // A click (or two) on an item in view, then a text or a key.
            auto *view = static_cast<QAbstractItemView *>(target);
            QList<QRect> shown;
            for (int r = 0; r < view->model()->rowCount(); ++r) {
                for (int c = 0; c < view->model()->columnCount(); ++c) {
                    if (const QRect rect = view->visualRect(view->model()->index(r, c)); view->viewport()->rect().contains(rect.center()))
                        shown.append(rect);
                }
            }
            if (!shown.isEmpty() && mRandom.chance(60))
                UserInput::click(view->viewport(), mRandom.pick(shown).center(), Qt::LeftButton, mRandom.chance(15));
            else if (dialog->focusWidget() != view)
                return true;
            if (mRandom.chance(60))
                UserInput::type(view, mRandom.text(mRandom.between(1, 6), 12));
            else
                pressKey(view);
        } else if (poke.poke == Poke::Keys) {
            pressKey(target);
        } else if (poke.poke == Poke::Colour) {
            auto *colours = static_cast<Tessar::BasicColourGrid *>(target);
            UserInput::click(colours, colours->cellRect(mRandom.below(Tessar::BasicColourGrid::Count)).center(), Qt::LeftButton, mRandom.chance(20));
        } else if (poke.poke == Poke::Buttons) {
            // A key's button opens the colour chooser, answered in its turn.
            auto *button = dialog->findChild<QAbstractButton *>(mRandom.pick(QString::fromLatin1(poke.target).split(u'|')));
            if (!usable(button, dialog))
                return false;
            click(button);
        } else {
            const bool back = mRandom.chance(40);
            UserInput::key(focusIn(dialog), back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        }
        return true;
    }

    void pressKey(QWidget *target)
    {
        static const QList<int> keys = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End,
                                        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return};
        UserInput::key(target, mRandom.pick(keys));
    }

    // A message box, the file dialog, or one a later command brings.
    void answerOther(QWidget *dialog, int answers)
    {
        if (answers > 30)
            return void(dialog->close());
        // Qt's file dialog gets the path chosen typed into its name box,
        // once; whatever keeps it open after that is cancelled. Qt's colour
        // and printer dialogs lead out of the soak's folder: only ever
        // cancelled.
        auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        if (qobject_cast<QFileDialog *>(dialog) && answers == 1 && !SoakDialogs::typed.isEmpty() && name && name->isVisible()) {
            click(name);
            UserInput::key(name, Qt::Key_A, Qt::ControlModifier);
            UserInput::key(name, Qt::Key_Delete);
            QTest::keyClicks(name, SoakDialogs::typed);
            return UserInput::key(name, Qt::Key_Return);
        }
        if (qobject_cast<QFileDialog *>(dialog) || qobject_cast<QColorDialog *>(dialog) || qobject_cast<QPrintDialog *>(dialog)
            || qobject_cast<QPageSetupDialog *>(dialog))
            return UserInput::key(focusIn(dialog), Qt::Key_Escape);
        QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
        buttons.removeIf([dialog](const QAbstractButton *button) { return !usable(button, dialog); });
        const int choice = mRandom.weighted({answers > 12 ? 50 : 25, 10, buttons.isEmpty() ? 0 : 65});
        if (choice < 2)
            UserInput::key(focusIn(dialog), choice == 0 ? Qt::Key_Escape : Qt::Key_Return);
        else
            click(mRandom.pick(buttons));
    }

    SoakRandom &mRandom;
    std::function<QString()> mCellText;
    QTimer mTimer;
    bool mQueued = false;
    QList<std::pair<QPointer<QWidget>, int>> mOpen;   // the dialogs answered in this action, and how often
    int mAnswered = 0;
};

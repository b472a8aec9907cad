#include "soakanswerer.h"
#include "soakfiledialogs.h"
#include "userinput.h"

#include "platform/basiccolourgrid.h"
#include "reports/aboutdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QTest>

using UserInput::click;
using UserInput::key;

// What a user does inside a dialog, to the child of that name.
enum class Poke { Text, Keys, Items, Colour, Buttons, Tab };
struct PokeKind
{
    Poke poke;
    const char *target;   // object name; Buttons: names separated by '|'
    int weight;
};
struct DialogKind
{
    const char *name;
    const char *ok;       // null: Escape or the window's close button
    const char *cancel;
    int closing;          // percent of answers that close it
    PokeKind pokes[6];
};

namespace {

const DialogKind Kinds[] = {
    {"Config", "OKBtn", "CancelBtn", 15,
     {{Poke::Text, "Text1", 12}, {Poke::Text, "cboNField", 16}, {Poke::Keys, "cboNField", 9}, {Poke::Items, "grdfield", 34}, {Poke::Items, "GrdOp", 19}, {Poke::Tab, "", 10}}},
    {"Colorfrm", "OKBtn", "CancelBtn", 25,
     {{Poke::Buttons, "Operator1|Operator2|Operator3|Operator4|Operator5|Operator6|Background|Command1", 1}}},
    {"ColorChooser", "OKBtn", "CancelBtn", 30, {{Poke::Colour, "basicColors", 75}, {Poke::Keys, "basicColors", 25}}},
    {"FindFrm", "OK_Btn", "CancelBtn", 35, {{Poke::Text, "Text1", 80}, {Poke::Keys, "Text1", 20}}},
    {"Stat", nullptr, nullptr, 30, {{Poke::Keys, "Combo1", 70}, {Poke::Text, "Combo1", 30}}},
    {"RecoverDialog", "recoverOpen", "recoverCancel", 25, {{Poke::Items, "recoverList", 60}, {Poke::Buttons, "recoverDelete|recoverOpen", 40}}},
    {"frmAbout", "cmdOK", "cmdOK", 70, {{Poke::Buttons, "cmdSysInfo", 1}}},
};

QPoint centre(const QWidget *widget)
{
    return widget->rect().center();
}

bool usable(const QWidget *widget, const QWidget *dialog)
{
    return widget && widget->isVisibleTo(dialog) && widget->isEnabled();
}

QString describe(const QWidget *widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
}

QWidget *focusIn(QWidget *dialog)
{
    return dialog->focusWidget() ? dialog->focusWidget() : dialog;
}

} // namespace

SoakAnswerer::SoakAnswerer(SoakRandom &random, std::function<QString()> cellText)
    : mRandom(random)
    , mCellText(std::move(cellText))
{
    // The timer only looks; the answer runs from the event queue. An answer
    // that opens another dialog waits inside it, and a timer does not fire
    // again while its own slot is still running.
    connect(&mTimer, &QTimer::timeout, this, [this] {
        QWidget *modal = QApplication::activeModalWidget();
        if (mStepQueued || !modal || !modal->isVisible())
            return;
        mStepQueued = true;
        QMetaObject::invokeMethod(this, [this, guard = QPointer<QWidget>(modal)] {
            mStepQueued = false;
            if (guard && guard == QApplication::activeModalWidget() && guard->isVisible())
                step(guard);
        }, Qt::QueuedConnection);
    });
    mTimer.start(2);
}

QList<SoakAnswerer::Seen> SoakAnswerer::takeSeen()
{
    mAnswersThisAction = 0;
    return std::exchange(mSeen, {});
}

void SoakAnswerer::step(QWidget *modal)
{
    auto seen = std::find_if(mSeen.begin(), mSeen.end(), [modal](const Seen &s) { return s.dialog == modal; });
    if (seen == mSeen.end()) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        mSeen.append({describe(modal), box ? box->text() : QString(), {}, modal, 0});
        seen = mSeen.end() - 1;
    }
    const int answers = ++seen->answers;
    const qsizetype index = seen - mSeen.begin();
    QString why;
    if (answers > MaxAnswers)
        why = QStringLiteral("was still open after %1 answers").arg(MaxAnswers);
    else if (++mAnswersThisAction > MaxPerAction)
        why = QStringLiteral("came after %1 dialogs answered in one action").arg(MaxPerAction);
    // Once something has failed, everything is closed on the way out.
    if (!why.isEmpty() || !mFailure.isEmpty()) {
        if (mFailure.isEmpty())
            mFailure = QStringLiteral("dialog %1 (\"%2\") %3").arg(describe(modal), modal->windowTitle(), why);
        UserInput::closePopups();
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    QString done;
    if (QApplication::activePopupWidget()) {
        UserInput::closePopups();
        done = QStringLiteral("Escape on a popup");
    } else {
        // The system-information tool would be a program outside the soak.
        if (auto *about = qobject_cast<Tessar::AboutDialog *>(modal))
            about->setSysInfoTools({QStringLiteral("/nonexistent/tessar-soak-sysinfo")});
        const auto *kind = std::find_if(std::begin(Kinds), std::end(Kinds),
                                        [modal](const DialogKind &k) { return modal->objectName() == QLatin1String(k.name); });
        const bool eager = answers > EagerAfter;
        done = kind != std::end(Kinds) ? answerKnown(modal, *kind, eager) : answerOther(modal, eager, answers);
    }
    // The dialog may be gone by now, and others seen meanwhile.
    if (!done.isEmpty() && index < mSeen.size())
        mSeen[index].steps.append(done);
}

QString SoakAnswerer::close(QWidget *dialog, const char *ok, const char *cancel)
{
    const int choice = mRandom.weighted({45, 30, 20, 5});
    auto *button = dialog->findChild<QAbstractButton *>(QLatin1String(choice == 0 ? ok : cancel));
    if (choice < 2 && (choice == 0 ? ok : cancel) && usable(button, dialog)) {
        click(button, centre(button));
        return QStringLiteral("click ") + describe(button);
    }
    if (choice == 3) {
        dialog->close();   // the close button on the title bar
        return QStringLiteral("close the window");
    }
    key(focusIn(dialog), Qt::Key_Escape);
    return QStringLiteral("Escape");
}

QString SoakAnswerer::answerKnown(QWidget *dialog, const DialogKind &kind, bool eager)
{
    if (eager || mRandom.chance(kind.closing))
        return close(dialog, kind.ok, kind.cancel);
    QList<int> weights;
    for (const PokeKind &p : kind.pokes)
        weights.append(p.weight);
    const PokeKind &poke = kind.pokes[mRandom.weighted(weights)];
    QWidget *target = dialog->findChild<QWidget *>(QLatin1String(poke.target));
    if (auto *combo = qobject_cast<QComboBox *>(target); combo && combo->lineEdit())
        target = combo->lineEdit();
    if (poke.poke != Poke::Tab && poke.poke != Poke::Buttons && !usable(target, dialog))
        return close(dialog, kind.ok, kind.cancel);
    switch (poke.poke) {
    case Poke::Text: {
        // All of it replaced by a text of the document, any text, a number
        // (or what only looks like one), or nothing.
        if (dialog->focusWidget() != target || mRandom.chance(20))
            click(target, centre(target));
        key(target, Qt::Key_A, Qt::ControlModifier);
        static const QStringList numbers = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                            QStringLiteral("7"), QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("99"),
                                            QStringLiteral("-3"), QStringLiteral("3.5"), QStringLiteral("2e1"), QStringLiteral(" 7")};
        const int how = mRandom.weighted({35, 30, 20, 15});
        const QString text = how == 0 ? mCellText() : how == 1 ? mRandom.text(mRandom.between(1, 6), 12) : how == 2 ? mRandom.pick(numbers) : QString();
        if (text.isEmpty())
            key(target, Qt::Key_Backspace);
        UserInput::type(target, text);
        return QStringLiteral("type \"%1\" into %2").arg(text, QLatin1String(poke.target));
    }
    case Poke::Items: {
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
            click(view->viewport(), mRandom.pick(shown).center(), Qt::LeftButton, mRandom.chance(15));
        else if (dialog->focusWidget() != view)
            return QStringLiteral("nothing in ") + describe(view);
        if (mRandom.chance(60)) {
            UserInput::type(view, mRandom.text(mRandom.between(1, 6), 12));
            return QStringLiteral("click and type into ") + describe(view);
        }
        [[fallthrough]];
    }
    case Poke::Keys: {
        static const QList<int> keys = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End,
                                        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return};
        const int k = mRandom.pick(keys);
        key(target, k);
        return QStringLiteral("%1 on %2").arg(QKeySequence(k).toString(), describe(target));
    }
    case Poke::Colour: {
        auto *colours = static_cast<Tessar::BasicColourGrid *>(target);
        const int cell = mRandom.below(Tessar::BasicColourGrid::Count);
        click(colours, colours->cellRect(cell).center(), Qt::LeftButton, mRandom.chance(20));
        return QStringLiteral("click colour %1").arg(cell);
    }
    case Poke::Buttons: {
        const QString name = mRandom.pick(QString::fromLatin1(poke.target).split(u'|'));
        auto *button = dialog->findChild<QAbstractButton *>(name);
        if (!usable(button, dialog))
            return close(dialog, kind.ok, kind.cancel);
        // A key button opens the colour chooser, answered in its turn.
        click(button, centre(button));
        return QStringLiteral("click ") + name;
    }
    case Poke::Tab:
        break;
    }
    const bool back = mRandom.chance(40);
    key(focusIn(dialog), back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    return back ? QStringLiteral("Shift+Tab") : QStringLiteral("Tab");
}

// Any other dialog: a message box, the file dialog, or one a later command brings.
QString SoakAnswerer::answerOther(QWidget *dialog, bool eager, int answers)
{
    if (answers > 30) {
        dialog->close();
        return QStringLiteral("close the window");
    }
    // The file dialog gets the path the soak chose typed into its name
    // box, once; whatever keeps it open after that is cancelled. The
    // desktop's colour and printer dialogs lead out of the soak's folders:
    // they are only ever cancelled.
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const QString path = SoakFileDialogs::typedAnswer();
    if (qobject_cast<QFileDialog *>(dialog) && answers == 1 && !path.isEmpty() && name && name->isVisible()) {
        click(name, centre(name));
        key(name, Qt::Key_A, Qt::ControlModifier);
        key(name, Qt::Key_Delete);
        QTest::keyClicks(name, path);
        key(name, Qt::Key_Return);
        return QStringLiteral("type \"%1\" and Return").arg(path);
    }
    if (qobject_cast<QFileDialog *>(dialog) || qobject_cast<QColorDialog *>(dialog) || qobject_cast<QPrintDialog *>(dialog)
        || qobject_cast<QPageSetupDialog *>(dialog)) {
        key(focusIn(dialog), Qt::Key_Escape);
        return QStringLiteral("Escape");
    }
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (usable(button, dialog))
            buttons.append(button);
    }
    const int choice = mRandom.weighted({eager ? 50 : 25, 10, buttons.isEmpty() ? 0 : 65});
    if (choice < 2) {
        key(focusIn(dialog), choice == 0 ? Qt::Key_Escape : Qt::Key_Return);
        return choice == 0 ? QStringLiteral("Escape") : QStringLiteral("Return");
    }
    QAbstractButton *button = mRandom.pick(buttons);
    const QString what = button->text().isEmpty() ? describe(button) : button->text();
    click(button, centre(button));
    return QStringLiteral("click \"%1\"").arg(what);
}

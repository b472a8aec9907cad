#include "soakanswerer.h"
#include "soakfiledialogs.h"

#include "soakinput.h"

#include "platform/basiccolourgrid.h"
#include "platform/grid.h"
#include "reports/aboutdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>

using SoakInput::click;
using SoakInput::key;

namespace {

QPoint centre(const QWidget *widget)
{
    return widget->rect().center();
}

template<typename T>
T *named(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

bool usable(const QWidget *widget, const QWidget *dialog)
{
    return widget && widget->isVisibleTo(dialog) && widget->isEnabled();
}

} // namespace

SoakAnswerer::SoakAnswerer(SoakRandom &random, std::function<QString()> cellText, QObject *parent)
    : QObject(parent)
    , mRandom(random)
    , mCellText(std::move(cellText))
{
    connect(&mTimer, &QTimer::timeout, this, &SoakAnswerer::tick);
    mTimer.start(2);
}

QList<SoakAnswerer::Seen> SoakAnswerer::takeSeen()
{
    mAttempts.clear();
    mSeenIndex.clear();
    mAnswersThisAction = 0;
    return std::exchange(mSeen, {});
}

// The timer only looks; the answer runs from the event queue. An answer
// that opens another dialog waits inside it, and a timer does not fire
// again while its own slot is still running.
void SoakAnswerer::tick()
{
    if (mStepQueued)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    mStepQueued = true;
    QMetaObject::invokeMethod(this, [this, guard = QPointer<QWidget>(modal)] {
        mStepQueued = false;
        if (guard && guard == QApplication::activeModalWidget() && guard->isVisible())
            step(guard);
    }, Qt::QueuedConnection);
}

int SoakAnswerer::seenFor(QWidget *modal)
{
    for (const auto &[widget, index] : std::as_const(mSeenIndex)) {
        if (widget == modal)
            return index;
    }
    Seen seen;
    seen.name = describe(modal);
    seen.title = modal->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        seen.text = box->text();
    mSeen.append(seen);
    mSeenIndex.append({modal, int(mSeen.size()) - 1});
    return int(mSeen.size()) - 1;
}

QString SoakAnswerer::describe(QWidget *widget) const
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
}

void SoakAnswerer::fail(QWidget *modal, const QString &why)
{
    if (mFailure.isEmpty())
        mFailure = QStringLiteral("dialog %1 (\"%2\") %3").arg(describe(modal), modal->windowTitle(), why);
    SoakInput::closePopups();
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}

void SoakAnswerer::step(QWidget *modal)
{
    int attempts = 0;
    bool known = false;
    for (auto &[widget, count] : mAttempts) {
        if (widget == modal) {
            attempts = ++count;
            known = true;
        }
    }
    if (!known) {
        mAttempts.append({modal, 1});
        attempts = 1;
    }
    const int seenIndex = seenFor(modal);
    // Once something has failed, everything is closed on the way out.
    if (!mFailure.isEmpty()) {
        fail(modal, QString());
        return;
    }
    if (attempts > MaxAnswers) {
        fail(modal, QStringLiteral("was still open after %1 answers").arg(MaxAnswers));
        return;
    }
    if (++mAnswersThisAction > MaxPerAction) {
        fail(modal, QStringLiteral("came after %1 dialogs answered in one action").arg(MaxPerAction));
        return;
    }
    if (QApplication::activePopupWidget()) {
        SoakInput::closePopups();
        mSeen[seenIndex].steps.append(QStringLiteral("Escape on a popup"));
        return;
    }

    const bool eager = attempts > EagerAfter;
    const QString name = modal->objectName();
    auto *dialog = qobject_cast<QDialog *>(modal);
    QString done;
    if (dialog && name == u"Config")
        done = answerConfig(dialog, eager);
    else if (dialog && name == u"Colorfrm")
        done = answerColor(dialog, eager);
    else if (dialog && name == u"ColorChooser")
        done = answerChooser(dialog, eager);
    else if (dialog && name == u"FindFrm")
        done = answerFind(dialog, eager);
    else if (dialog && name == u"Stat")
        done = answerStat(dialog, eager);
    else if (dialog && name == u"RecoverDialog")
        done = answerRecover(dialog, eager);
    else if (dialog && name == u"frmAbout")
        done = answerAbout(dialog, eager);
    else
        done = answerGeneric(modal, eager, attempts);
    // The dialog may be gone by now, and others seen meanwhile.
    if (!done.isEmpty() && seenIndex < mSeen.size())
        mSeen[seenIndex].steps.append(done);
}

// Mostly what a user types, now and then what a keyboard can make that
// the program must refuse.
QString SoakAnswerer::typeable()
{
    static const QStringList odd = {QStringLiteral("\u00e9"), QStringLiteral("\""), QStringLiteral("\u00df"),
                                    QStringLiteral("\u20ac"), QStringLiteral("\x01"), QStringLiteral("\t"),
                                    QStringLiteral("\U0001F600"), QStringLiteral("&"), QStringLiteral("'")};
    QString text;
    const int length = mRandom.between(1, 6);
    for (int i = 0; i < length; ++i) {
        if (mRandom.chance(12))
            text += mRandom.pick(odd);
        else
            text += QChar(char16_t(mRandom.between(0x20, 0x7e)));
    }
    return text;
}

QString SoakAnswerer::typeInto(QWidget *target, const QString &text)
{
    if (!target)
        return QString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            key(target, Qt::Key_unknown, Qt::NoModifier, text.mid(i, 2));
            ++i;
        } else {
            SoakInput::character(target, text[i]);
        }
    }
    return QStringLiteral("type \"%1\" into %2").arg(text, describe(target));
}

QString SoakAnswerer::closeKnown(QDialog *dialog, const char *ok, const char *cancel)
{
    const int choice = mRandom.weighted({45, 30, 20, 5});
    QWidget *focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    if (choice == 0) {
        if (auto *button = named<QAbstractButton>(dialog, ok); usable(button, dialog)) {
            click(button, centre(button));
            return QStringLiteral("click %1").arg(QLatin1String(ok));
        }
    } else if (choice == 1) {
        if (auto *button = named<QAbstractButton>(dialog, cancel); usable(button, dialog)) {
            click(button, centre(button));
            return QStringLiteral("click %1").arg(QLatin1String(cancel));
        }
    } else if (choice == 3) {
        // The close button on the title bar.
        dialog->close();
        return QStringLiteral("close the window");
    }
    key(focus, Qt::Key_Escape);
    return QStringLiteral("Escape");
}

QString SoakAnswerer::answerConfig(QDialog *dialog, bool eager)
{
    if (eager || mRandom.chance(15))
        return closeKnown(dialog, "OKBtn", "CancelBtn");
    auto *company = named<QLineEdit>(dialog, "Text1");
    auto *count = named<QComboBox>(dialog, "cboNField");
    auto *fields = named<Tessar::Grid>(dialog, "grdfield");
    auto *keys = named<Tessar::Grid>(dialog, "GrdOp");
    switch (mRandom.weighted({12, 25, 45, 8, 10})) {
    case 0:
        click(company, centre(company));
        if (mRandom.chance(30))
            key(company, Qt::Key_Backspace);
        return typeInto(company, typeable());
    case 1: {
        QLineEdit *edit = count->lineEdit();
        click(edit, centre(edit));
        if (mRandom.chance(35)) {
            const bool up = mRandom.chance(50);
            key(edit, up ? Qt::Key_Up : Qt::Key_Down);
            return up ? QStringLiteral("Up in the row count") : QStringLiteral("Down in the row count");
        }
        key(edit, Qt::Key_A, Qt::ControlModifier);
        static const QStringList counts = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                           QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                                           QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
                                           QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("11"),
                                           QStringLiteral("15"), QStringLiteral("99"), QStringLiteral("-3"),
                                           QStringLiteral("abc"), QStringLiteral("3.5"), QStringLiteral("2e1"),
                                           QStringLiteral(" 7"), QString()};
        const QString typed = mRandom.pick(counts);
        if (typed.isEmpty()) {
            key(edit, Qt::Key_Backspace);
            return QStringLiteral("empty the row count");
        }
        return typeInto(edit, typed);
    }
    case 2:
    case 3: {
        Tessar::Grid *grid = mRandom.chance(65) ? fields : keys;
        QList<int> shown;
        for (int r = 0; r < grid->rows(); ++r) {
            if (grid->viewport()->rect().contains(grid->visualItemRect(grid->item(r, 1)).center()))
                shown.append(r);
        }
        QString what;
        if (!shown.isEmpty() && mRandom.chance(60)) {
            const int row = mRandom.pick(shown);
            const int column = mRandom.chance(85) ? 1 : 0;
            click(grid->viewport(), grid->visualItemRect(grid->item(row, column)).center());
            what = QStringLiteral("click %1 row %2; ").arg(grid->objectName()).arg(row);
        } else if (dialog->focusWidget() != grid) {
            return what + QStringLiteral("nothing in %1").arg(grid->objectName());
        }
        static const QList<int> keysUsed = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Up, Qt::Key_Down,
                                            Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End, Qt::Key_Tab};
        if (mRandom.chance(30)) {
            const int k = mRandom.pick(keysUsed);
            key(grid, k);
            return what + QStringLiteral("key %1").arg(QKeySequence(k).toString());
        }
        return what + typeInto(grid, typeable());
    }
    default: {
        QWidget *focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        const bool back = mRandom.chance(40);
        key(focus, back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        return back ? QStringLiteral("Shift+Tab") : QStringLiteral("Tab");
    }
    }
}

QString SoakAnswerer::answerColor(QDialog *dialog, bool eager)
{
    if (eager || mRandom.chance(25))
        return closeKnown(dialog, "OKBtn", "CancelBtn");
    static const QStringList buttons = {QStringLiteral("Operator1"), QStringLiteral("Operator2"),
                                        QStringLiteral("Operator3"), QStringLiteral("Operator4"),
                                        QStringLiteral("Operator5"), QStringLiteral("Operator6"),
                                        QStringLiteral("Background"), QStringLiteral("Command1")};
    const QString name = mRandom.pick(buttons);
    auto *button = dialog->findChild<QAbstractButton *>(name);
    if (!usable(button, dialog))
        return QStringLiteral("%1 is not there").arg(name);
    // A key button opens the colour chooser, answered in its turn.
    click(button, centre(button));
    return QStringLiteral("click %1").arg(name);
}

QString SoakAnswerer::answerChooser(QDialog *dialog, bool eager)
{
    if (eager || mRandom.chance(30))
        return closeKnown(dialog, "OKBtn", "CancelBtn");
    auto *grid = named<Tessar::BasicColourGrid>(dialog, "basicColors");
    if (!grid)
        return closeKnown(dialog, "OKBtn", "CancelBtn");
    const int cell = mRandom.below(Tessar::BasicColourGrid::Count);
    switch (mRandom.weighted({60, 15, 25})) {
    case 0:
        click(grid, grid->cellRect(cell).center());
        return QStringLiteral("click colour %1").arg(cell);
    case 1:
        SoakInput::doubleClick(grid, grid->cellRect(cell).center());
        return QStringLiteral("double-click colour %1").arg(cell);
    default: {
        static const QList<int> arrows = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        const int k = mRandom.pick(arrows);
        key(grid, k);
        return QStringLiteral("key %1").arg(QKeySequence(k).toString());
    }
    }
}

QString SoakAnswerer::answerFind(QDialog *dialog, bool eager)
{
    auto *text = named<QLineEdit>(dialog, "Text1");
    if (eager || !text || mRandom.chance(35)) {
        if (text && mRandom.chance(35)) {
            key(text, Qt::Key_Return);
            return QStringLiteral("Return");
        }
        return closeKnown(dialog, "OK_Btn", "CancelBtn");
    }
    if (dialog->focusWidget() != text || mRandom.chance(20))
        click(text, centre(text));
    key(text, Qt::Key_A, Qt::ControlModifier);
    const int choice = mRandom.weighted({55, 30, 15});
    if (choice == 2) {
        key(text, Qt::Key_Backspace);
        return QStringLiteral("empty the search text");
    }
    const QString typed = choice == 0 ? mCellText() : typeable();
    if (typed.isEmpty()) {
        key(text, Qt::Key_Backspace);
        return QStringLiteral("empty the search text");
    }
    return typeInto(text, typed);
}

QString SoakAnswerer::answerStat(QDialog *dialog, bool eager)
{
    auto *combo = named<QComboBox>(dialog, "Combo1");
    if (eager || !combo || mRandom.chance(30)) {
        if (mRandom.chance(20)) {
            dialog->close();
            return QStringLiteral("close the window");
        }
        key(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
        return QStringLiteral("Escape");
    }
    QLineEdit *edit = combo->lineEdit();
    if (mRandom.chance(70)) {
        const bool up = mRandom.chance(40);
        key(edit ? static_cast<QWidget *>(edit) : combo, up ? Qt::Key_Up : Qt::Key_Down);
        return QStringLiteral("%1 in the key list").arg(up ? QLatin1String("Up") : QLatin1String("Down"));
    }
    if (!edit)
        return QString();
    click(edit, centre(edit));
    key(edit, Qt::Key_A, Qt::ControlModifier);
    return typeInto(edit, mRandom.chance(50) ? mCellText() : typeable());
}

QString SoakAnswerer::answerRecover(QDialog *dialog, bool eager)
{
    auto *list = named<QListWidget>(dialog, "recoverList");
    if (eager || mRandom.chance(25)) {
        const int choice = mRandom.weighted({40, 40, 20});
        if (choice == 0)
            return closeKnown(dialog, "recoverOpen", "recoverCancel");
        if (choice == 1) {
            key(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
            return QStringLiteral("Escape");
        }
    }
    if (list && list->count() > 0 && mRandom.chance(60)) {
        const int row = mRandom.below(list->count());
        const QPoint at = list->visualItemRect(list->item(row)).center();
        if (mRandom.chance(15)) {
            SoakInput::doubleClick(list->viewport(), at);
            return QStringLiteral("double-click recovery file %1").arg(row);
        }
        click(list->viewport(), at);
        return QStringLiteral("click recovery file %1").arg(row);
    }
    const QString name = mRandom.chance(50) ? QStringLiteral("recoverDelete") : QStringLiteral("recoverOpen");
    auto *button = dialog->findChild<QAbstractButton *>(name);
    if (!usable(button, dialog))
        return closeKnown(dialog, "recoverOpen", "recoverCancel");
    click(button, centre(button));
    return QStringLiteral("click %1").arg(name);
}

QString SoakAnswerer::answerAbout(QDialog *dialog, bool eager)
{
    // The system-information tool would be a program outside the soak.
    if (auto *about = qobject_cast<Tessar::AboutDialog *>(dialog))
        about->setSysInfoTools({QStringLiteral("/nonexistent/tessar-soak-sysinfo")});
    if (!eager && mRandom.chance(30)) {
        if (auto *button = named<QAbstractButton>(dialog, "cmdSysInfo"); usable(button, dialog)) {
            click(button, centre(button));
            return QStringLiteral("click cmdSysInfo");
        }
    }
    return closeKnown(dialog, "cmdOK", "cmdOK");
}

// Any other dialog, a message box or one that a later command brings.
QString SoakAnswerer::answerGeneric(QWidget *dialog, bool eager, int attempts)
{
    if (attempts > 30) {
        dialog->close();
        return QStringLiteral("close the window");
    }
    QWidget *focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    // The file dialog gets the path the soak chose typed into its name
    // box, once; whatever keeps it open after that is cancelled.
    if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
        auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        const QString path = SoakFileDialogs::typedAnswer();
        if (attempts == 1 && !path.isEmpty() && name && name->isVisible()) {
            click(name, centre(name));
            key(name, Qt::Key_A, Qt::ControlModifier);
            key(name, Qt::Key_Delete);
            QTest::keyClicks(name, path);
            key(name, Qt::Key_Return);
            return QStringLiteral("type \"%1\" and Return").arg(path);
        }
        key(focus, Qt::Key_Escape);
        return QStringLiteral("Escape");
    }
    // The desktop's own colour and printer dialogs lead out of the soak's
    // folders: they are only ever cancelled.
    if (qobject_cast<QColorDialog *>(dialog)
        || qobject_cast<QPrintDialog *>(dialog) || qobject_cast<QPageSetupDialog *>(dialog)) {
        key(focus, Qt::Key_Escape);
        return QStringLiteral("Escape");
    }
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (usable(button, dialog))
            buttons.append(button);
    }
    const int choice = mRandom.weighted({eager ? 50 : 25, 10, buttons.isEmpty() ? 0 : 65});
    if (choice == 0) {
        key(focus, Qt::Key_Escape);
        return QStringLiteral("Escape");
    }
    if (choice == 1) {
        key(focus, Qt::Key_Return);
        return QStringLiteral("Return");
    }
    QAbstractButton *button = mRandom.pick(buttons);
    const QString what = button->text().isEmpty() ? describe(button) : button->text();
    click(button, centre(button));
    return QStringLiteral("click \"%1\"").arg(what);
}

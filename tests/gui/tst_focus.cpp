#include "windowdriver.h"

#include "core/editing/editing.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

using namespace Tessar;

// Where the keyboard is whenever a document is put in front of the user or
// a dialog closes, and where the dialogs open.
class TestFocus : public QObject, WindowDriver
{
    Q_OBJECT

    static QString focused()
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

    // What the window manager does when a dialog closes.
    void activate() const
    {
        window->activateWindow();
        QVERIFY(activated(window.get()));
    }

    static void escape(QWidget *dialog)
    {
        if (activated(dialog))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            dialog->close();
    }

    void clickDescription() const
    {
        QTest::mouseClick(child<QLineEdit>(QStringLiteral("TxtFileDesc")), Qt::LeftButton);
        QCOMPARE(focused(), QStringLiteral("TxtFileDesc"));
    }

    // Ctrl+A copies the whole table and F4 keys the current sample, from
    // wherever the focus is.
    void shortcutsReachTheMenus()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        const int current = state.topSample + state.curGrid;
        state.sampleTable(current, 0).clear();
        press(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copyAllText(state));
        press(Qt::Key_F4);
        QCOMPARE(state.sampleTable(current, 0), state.keyName[1]);
    }

private slots:
    void init()
    {
        start(QSize(500, 400));
        state.keyName[1] = QStringLiteral("Blank");
    }
    void cleanup() { stop(); }

    // Frames that come into view as the window grows take typing like the
    // first, with the same rows and captions.
    void framesShownLaterTakeTyping()
    {
        const int before = state.nFrames;
        window->resize(1400, 700);
        QTRY_VERIFY(state.nFrames > before);
        for (int frame = before; frame < state.nFrames; ++frame) {
            QCOMPARE(grid(frame)->rows(), grid(0)->rows());
            QCOMPARE(grid(frame)->textAt(1, 0), grid(0)->textAt(1, 0));
            clickCell(frame, 1);
            QCOMPARE(focused(), QStringLiteral("GrdID%1").arg(frame));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("late"));
            press(Qt::Key_Return);
            QCOMPARE(state.sampleTable(state.topSample + frame, 1), QStringLiteral("late"));
        }
    }

    void startAndNewDocumentsLeaveTheKeysToTheSamples()
    {
        QCOMPARE(focused(), QStringLiteral("GrdID0"));
        shortcutsReachTheMenus();

        State other = newPlate();
        other.keyName[1] = "Blank";
        other.sampleTable(5, 2) = "S-05";
        clickDescription();
        open(writePlate(other, path("plate.kwl")));
        QCOMPARE(state.sampleTable(5, 2), QStringLiteral("S-05"));
        QCOMPARE(focused(), QStringLiteral("GrdID0"));
        shortcutsReachTheMenus();

        for (const QStringList &command : {QStringList{QStringLiteral("mnuFile"), QStringLiteral("mnuFileNew")},
                                           QStringList{QStringLiteral("mnuSetup"), QStringLiteral("MnuSetupWell"),
                                                       QStringLiteral("MnuSetupWellnum1")}}) {
            clickDescription();
            choose(command);
            QCOMPARE(focused(), QStringLiteral("GrdID0"));
        }

        // A click on the map takes the keys there.
        QTest::mouseClick(picture(), Qt::LeftButton, {}, picture()->toPixel(state.spotX[1], state.spotY[1]).toPoint());
        QCOMPARE(focused(), QStringLiteral("PicWell"));
        shortcutsReachTheMenus();
    }

    // Closing a dialog gives the focus back where it was, unless the frame
    // that had it no longer fits: then the first frame has it.
    void focusComesBackAfterADialog()
    {
        clickCell(1, 2);
        whenModal(QStringLiteral("FindFrm"), escape);
        choose({QStringLiteral("mnuSearch"), QStringLiteral("mnuSearchFind")});
        activate();
        QCOMPARE(focused(), QStringLiteral("GrdID1"));

        const int frames = state.nFrames;
        clickCell(frames - 1, 1);
        whenModal(QStringLiteral("Config"), [](QWidget *dialog) {
            QLineEdit *count = dialog->findChild<QComboBox *>(QStringLiteral("cboNField"))->lineEdit();
            count->selectAll();
            QTest::keyClicks(count, QStringLiteral("10"));
            escape(dialog);
        });
        choose({QStringLiteral("mnuSetup"), QStringLiteral("mnuSetupConfigure")});
        QVERIFY(state.nFrames < frames);
        activate();
        QCOMPARE(focused(), QStringLiteral("GrdID0"));

        clickDescription();
        whenModal(QStringLiteral("frmAbout"), escape);
        choose({QStringLiteral("mnuHelp"), QStringLiteral("mnuHelpAbout")});
        activate();
        QCOMPARE(focused(), QStringLiteral("TxtFileDesc"));
    }

    // Each dialog's outer frame sits in the middle of the screen's free
    // area, wherever the main window is, at a fixed size, without buttons
    // to minimise or maximise it.
    void everyDialogOpensInTheMiddleOfTheScreen()
    {
        window->move(0, 0);
        const QRect area = window->screen()->availableGeometry();
        const auto menu = [this](const char *title, const char *entry) {
            return [this, title, entry] { choose({QLatin1String(title), QLatin1String(entry)}); };
        };
        const struct { const char *name; std::function<void()> open; } opened[] = {
            {"Config", menu("mnuSetup", "mnuSetupConfigure")},
            {"Colorfrm", menu("mnuSetup", "mnuSetupColor")},
            {"FindFrm", menu("mnuSearch", "mnuSearchFind")},
            {"Stat", [this] { QTest::mouseClick(child<QPushButton>(QStringLiteral("CmdList")), Qt::LeftButton); }},
            {"frmAbout", menu("mnuHelp", "mnuHelpAbout")},
            {"PlateTypes", menu("mnuSetup", "mnuSetupPlateTypes")},
        };
        for (const auto &[name, open] : opened) {
            QRect outer, inner;
            Qt::WindowFlags flags;
            bool fixed = false;
            whenModal(QLatin1String(name), [&](QWidget *dialog) {
                outer = dialog->frameGeometry();
                inner = dialog->geometry();
                flags = dialog->windowFlags();
                fixed = dialog->minimumSize() == dialog->maximumSize();
                escape(dialog);
            });
            open();
            QCOMPARE(unanswered(), 0);
            QVERIFY2(outer != inner, name);   // the frame is what is centred
            QVERIFY2(fixed, name);
            QVERIFY2(flags & Qt::CustomizeWindowHint && !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)), name);
            QVERIFY2(std::abs(2 * outer.left() + outer.width() - 2 * area.left() - area.width()) <= 2
                         && std::abs(2 * outer.top() + outer.height() - 2 * area.top() - area.height()) <= 2,
                     name);
            activate();
        }
    }
};

QTEST_MAIN(TestFocus)
#include "tst_focus.moc"

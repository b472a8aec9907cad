#include "windowdriver.h"

#include "core/editing.h"
#include "core/samplefile.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace Tessar;

// Where the keyboard goes: the sample grids hold the focus whenever a
// document is put in front of the user, so the menu shortcuts work at once.
class TestFocus : public QObject, WindowDriver
{
    Q_OBJECT

    QTemporaryDir dir;

    static QString focused()
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

    // The window manager hands the window back its activation when a dialog closes.
    void activate() const
    {
        window->activateWindow();
        QVERIFY(activated(window.get()));
    }

    // Escape on the dialog's focused control, once the dialog has the keyboard.
    static void escape(QWidget *dialog)
    {
        if (activated(dialog))
            press(Qt::Key_Escape);
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

    QString writePlate() const
    {
        State other;
        applyFirstRunDefaults(other);
        newDocument(other);
        other.keyName[1] = QStringLiteral("Blank");
        other.sampleTable(5, 2) = QStringLiteral("S-05");
        other.filePath = dir.filePath(QStringLiteral("plate.kwl"));
        if (!WriteSampleFile(other).ok)
            qFatal("cannot write the test file");
        return other.filePath;
    }

private slots:
    void init()
    {
        start();
        state.keyName[1] = QStringLiteral("Blank");
    }
    void cleanup() { stop(); }

    void startAndOpenLeaveTheKeysToTheSamples()
    {
        QCOMPARE(focused(), QStringLiteral("GrdID0"));
        shortcutsReachTheMenus();

        clickDescription();
        dialogs->answers = {writePlate()};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileOpen")});
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

    void aClickOnTheMapTakesTheFocus()
    {
        clickDescription();
        const QPointF well = picture()->toPixel(state.spotX[1], state.spotY[1]);
        QTest::mouseClick(picture(), Qt::LeftButton, {}, well.toPoint());
        QCOMPARE(focused(), QStringLiteral("PicWell"));
        shortcutsReachTheMenus();
    }
};

QTEST_MAIN(TestFocus)
#include "tst_focus.moc"

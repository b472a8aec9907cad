#include "windowdriver.h"

#include <QLineEdit>
#include <QMessageBox>

using namespace Tessar;

class TestEditingWindow : public QObject, WindowDriver
{
    Q_OBJECT

    // A new plate names the Insert entries after keys 1 to 3.
    void nameKeys()
    {
        state.keyName[1] = QStringLiteral("Blank");
        state.keyName[2] = QStringLiteral("Std");
        state.keyName[3] = QStringLiteral("QC");
        run(QStringLiteral("MnuSetupWellnum2"));
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void typingFillsSamplesAcrossFramesAndPages()
    {
        const int frames = state.nFrames;
        QVERIFY(frames >= 2);
        clickCell(0, 1);
        for (int i = 0; i < frames; ++i) {
            for (int f = 1; f < state.fieldCount(); ++f) {
                QCOMPARE(QApplication::focusWidget(), grid(i));
                const QString text = QStringLiteral("S%1.%2").arg(i + 1).arg(f);
                QTest::keyClicks(grid(i), text);
                QCOMPARE(state.sampleTable(1 + i, f), text);
                press(f % 2 ? Qt::Key_Return : Qt::Key_Tab);
            }
        }
        // One page on, at the first description field of the first frame.
        QCOMPARE(scrollBar()->value(), 1 + frames);
        QCOMPARE(QApplication::focusWidget(), grid(0));
        QCOMPARE(grid(0)->row(), 1);
        QCOMPARE(state.sampleTable(1, 0), QString());
        QCOMPARE(state.curGrid, 0);
        QCOMPARE(state.curRow, 1);
    }

    void editKeysActOnTheClickedItem()
    {
        auto *paste = child<QAction>(QStringLiteral("mnuEditPaste"));
        state.sampleTable(2, 1) = QStringLiteral("alpha");
        state.sampleTable(3, 4) = QStringLiteral("four");
        selectItem(2, 1);
        press(Qt::Key_C, Qt::ControlModifier);
        QVERIFY(paste->isEnabled());
        clickCell(1, 3);
        press(Qt::Key_V, Qt::ControlModifier);

        press(Qt::Key_Return);   // Del takes the clicked item, not the focused cell
        press(Qt::Key_Delete);
        QCOMPARE(state.sampleTable(3, 3), QString());
        QCOMPARE(state.sampleTable(3, 4), QStringLiteral("four"));
        choose({QStringLiteral("mnuEdit"), QStringLiteral("mnuEditDeleteAll")});
        QVERIFY(!SampleHasData(state, 3));

        run(QStringLiteral("MnuSetupWellnum2"));   // a new plate has nothing to paste
        QVERIFY(!paste->isEnabled());
        clickCell(0, 1);
        press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(1, 1), QString());
    }

    // How the changed samples are drawn the soak test checks after every command.
    void fillAndInsertChangeTheChosenSamples()
    {
        nameKeys();
        state.sampleTable(5, 0) = QStringLiteral("Blank");
        state.sampleTable(5, 2) = QStringLiteral("x");
        state.sampleTable(6, 0) = QStringLiteral("Std");
        state.sampleTable(21, 3) = QStringLiteral("kept");

        selectItem(5, 2);
        choose({QStringLiteral("mnuEdit"), QStringLiteral("mnuEditFillDown"), QStringLiteral("mnuEditFillNum3")});
        QCOMPARE(state.sampleTable(6, 0) + state.sampleTable(8, 0), QStringLiteral("StdBlank"));
        QCOMPARE(state.sampleTable(10, 2), QStringLiteral("x"));
        clickCell(0, 0);   // Fill All takes the key too
        run(QStringLiteral("mnuEditFillAll1"));
        QCOMPARE(state.sampleTable(6, 0), QStringLiteral("Blank"));

        selectItem(20, 1);   // a target keeps the fields the source leaves empty
        choose({QStringLiteral("mnuEdit"), QStringLiteral("mnuEditFillDown"), QStringLiteral("mnuEditFillNum1")});
        QCOMPARE(state.sampleTable(21, 3), QStringLiteral("kept"));

        selectItem(4, 2);   // Insert keeps the grid row
        press(Qt::Key_Down);
        press(Qt::Key_F6);
        QCOMPARE(state.sampleTable(4, 0), QStringLiteral("QC"));
        QCOMPARE(grid(0)->row(), 3);
        press(Qt::Key_F9);   // a key without a name takes the key away
        QCOMPARE(state.sampleTable(4, 0), QString());
    }

    void findWrapsAroundOnYesAndChangesNothingOnNo()
    {
        state.sampleTable(3, 2) = QStringLiteral("needle");
        state.sampleTable(40, 2) = QStringLiteral("Needle");
        selectItem(10, 1);
        QString question;
        whenModal(QStringLiteral("FindFrm"), [](QWidget *dialog) {
            auto *text = dialog->findChild<QLineEdit *>(QStringLiteral("Text1"));
            QTest::keyClicks(text, QStringLiteral("needle"));
            QTest::keyClick(text, Qt::Key_Return);
        });
        whenBox("Search", &question, QMessageBox::Yes);
        choose({"mnuSearch", "mnuSearchFind"});
        QCOMPARE(unanswered(), 0);
        QCOMPARE(question, QStringLiteral("Search String was not found.\r\nDo you wish to search from the beginning? "));
        QCOMPARE(state.curRow, 2);
        QCOMPARE(grid(0)->row(), 2);
        QCOMPARE(scrollBar()->value(), 3);

        whenBox("Search", nullptr, QMessageBox::No);
        QApplication::setActiveWindow(window.get());
        QTest::keyClick(grid(0), Qt::Key_F3);   // Find Next passes the sample found
        QCOMPARE(unanswered(), 0);
        QCOMPARE(scrollBar()->value(), 3);
        QCOMPARE(caption(0), QStringLiteral("Row A , Column  3"));
    }
};

QTEST_MAIN(TestEditingWindow)
#include "tst_editingwindow.moc"

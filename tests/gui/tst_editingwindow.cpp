#include "windowdriver.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

using namespace Tessar;

class TestEditingWindow : public QObject, WindowDriver
{
    Q_OBJECT

    QWidget *focused() const { return QApplication::focusWidget(); }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(focused(), Qt::Key(k), modifiers);
    }

    // Names keys 1 to 3 and sets a new plate up, which names the Insert entries.
    void nameKeys()
    {
        state.keyName[1] = QStringLiteral("Blank");
        state.keyName[2] = QStringLiteral("Std");
        state.keyName[3] = QStringLiteral("QC");
        run(QStringLiteral("MnuSetupWellnum2"));
    }

    void answerSearch(QMessageBox::StandardButton button)
    {
        whenModal(QStringLiteral("Search"), [button](QWidget *box) {
            qobject_cast<QMessageBox *>(box)->button(button)->click();
        });
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void typingFillsSamplesAcrossFramesAndPages()
    {
        const int frames = state.nFrames;
        const int rows = state.fieldCount();
        QVERIFY(frames >= 2);
        clickCell(0, 1);
        for (int i = 0; i < frames; ++i) {
            for (int f = 1; f < rows; ++f) {
                QCOMPARE(focused(), grid(i));
                const QString text = QStringLiteral("S%1.%2").arg(i + 1).arg(f);
                QTest::keyClicks(focused(), text);
                QCOMPARE(state.sampleTable(1 + i, f), text);
                QCOMPARE(grid(i)->textAt(f, 1), text);
                key(f % 2 ? Qt::Key_Return : Qt::Key_Tab);
            }
        }
        // One page on, at the first description field; the key rows stay
        // empty and the clicked item stays current.
        QCOMPARE(state.topSample, 1 + frames);
        QCOMPARE(scrollBar()->value(), 1 + frames);
        QCOMPARE(focused(), grid(0));
        QCOMPARE(grid(0)->row(), 1);
        QCOMPARE(state.sampleTable(1, 0), QString());
        QCOMPARE(state.curGrid, 0);
        QCOMPARE(state.curRow, 1);

        // From the last full page Enter goes back to sample 1.
        key(Qt::Key_End);
        QCOMPARE(state.topSample, 96 - frames);
        grid(frames - 1)->setFocus();
        grid(frames - 1)->setRow(rows - 1);
        key(Qt::Key_Return);
        QCOMPARE(state.topSample, 1);
        QCOMPARE(scrollBar()->value(), 1);
    }

    void typingTakesPrintableTextOnly()
    {
        clickCell(1, 2);
        QTest::keyClicks(focused(), QStringLiteral("a\"b~"));
        QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_Eacute, QStringLiteral("\u00e9"), Qt::NoModifier);
        key(Qt::Key_Backspace);
        QCOMPARE(state.sampleTable(2, 2), QStringLiteral("ab"));
        QCOMPARE(grid(1)->textAt(2, 1), QStringLiteral("ab"));

        state.sampleTable(2, 0) = QStringLiteral("K");
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        QTest::keyClicks(focused(), QStringLiteral("xy"));
        key(Qt::Key_Backspace);
        QCOMPARE(state.sampleTable(2, 0), QStringLiteral("K"));

        // Ctrl+Enter in the last of the ten grids has no grid after it.
        state.numField = 2;
        window->resize(900, 1000);
        QTRY_COMPARE(state.nFrames, 10);
        clickCell(9, 1);
        key(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(state.topSample, 11);
    }

    void copyPasteAndDeleteActOnTheClickedItem()
    {
        auto *paste = child<QAction>(QStringLiteral("mnuEditPaste"));
        QVERIFY(!paste->isEnabled());
        state.sampleTable(2, 1) = QStringLiteral("alpha");
        state.sampleTable(3, 4) = QStringLiteral("four");
        selectItem(2, 1);
        key(Qt::Key_C, Qt::ControlModifier);
        QVERIFY(paste->isEnabled());
        clickCell(1, 3);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(3, 3), QStringLiteral("alpha"));
        QCOMPARE(grid(1)->textAt(3, 1), QStringLiteral("alpha"));
        QCOMPARE(well(3), opaque(ButtonShadowColour));

        // Del is Edit > Delete: the clicked item goes, not the focused cell.
        key(Qt::Key_Return);
        key(Qt::Key_Delete);
        QCOMPARE(state.sampleTable(3, 3), QString());
        QCOMPARE(state.sampleTable(3, 4), QStringLiteral("four"));

        state.sampleTable(3, 5) = QStringLiteral("slot");
        run(QStringLiteral("mnuEditDeleteAll"));
        QCOMPARE(state.sampleTable(3, 4), QString());
        QCOMPARE(state.sampleTable(3, 5), QString());
        QCOMPARE(well(3), background());

        // A new plate takes Paste away until the next Copy; Ctrl+V types nothing.
        run(QStringLiteral("MnuSetupWellnum2"));
        QVERIFY(!paste->isEnabled());
        clickCell(0, 1);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(1, 1), QString());
    }

    void fillDownKeepsOrOverwritesKeys()
    {
        nameKeys();
        state.sampleTable(5, 0) = QStringLiteral("Blank");
        state.sampleTable(5, 2) = QStringLiteral("x");
        state.sampleTable(6, 0) = QStringLiteral("Std");
        state.sampleTable(8, 1) = QStringLiteral("other");
        state.sampleTable(21, 3) = QStringLiteral("kept");
        state.sampleTable(93, 1) = QStringLiteral("end");
        window->sizeform();

        selectItem(5, 2);
        run(QStringLiteral("mnuEditFillNum3"));   // five samples
        QCOMPARE(state.sampleTable(6, 0), QStringLiteral("Std"));
        QCOMPARE(state.sampleTable(6, 2), QStringLiteral("x"));
        QCOMPARE(state.sampleTable(8, 0), QStringLiteral("Blank"));
        QCOMPARE(state.sampleTable(8, 1), QStringLiteral("other"));
        QCOMPARE(state.sampleTable(10, 2), QStringLiteral("x"));
        QVERIFY(!SampleHasData(state, 11));
        QCOMPARE(well(6), opaque(state.keyColor[2]));
        QCOMPARE(well(10), opaque(state.keyColor[1]));
        QCOMPARE(grid(1)->textAt(2, 1), QStringLiteral("x"));

        clickCell(0, 0);                           // from the key row the key itself goes
        run(QStringLiteral("mnuEditFillNum1"));
        QCOMPARE(state.sampleTable(6, 0), QStringLiteral("Blank"));

        selectItem(20, 1);                         // targets are drawn as the source looks
        run(QStringLiteral("mnuEditFillNum1"));
        QCOMPARE(state.sampleTable(21, 3), QStringLiteral("kept"));
        QCOMPARE(well(21), background());

        selectItem(93, 1);                         // the plate's end stops the fill
        run(QStringLiteral("mnuEditFillNum4"));
        QCOMPARE(state.sampleTable(96, 1), QStringLiteral("end"));
        QCOMPARE(state.sampleTable(97, 1), QString());

        state.sampleTable(30, 0) = QStringLiteral("QC");
        state.sampleTable(31, 0) = QStringLiteral("Std");
        state.sampleTable(31, 3) = QStringLiteral("old");
        state.sampleTable(31, 5) = QStringLiteral("slot");
        selectItem(30, 2);
        run(QStringLiteral("mnuEditFillAll1"));
        for (int f = 0; f <= 5; ++f)
            QCOMPARE(state.sampleTable(31, f), state.sampleTable(30, f));
        QCOMPARE(well(31), opaque(state.keyColor[3]));
    }

    void copyAllPutsTheTableOnTheClipboard()
    {
        QTemporaryDir dir;
        dialogs->answers = {dir.filePath(QStringLiteral("plate.kwl"))};
        run(QStringLiteral("mnuFileSaveAs"));
        state.sampleTable(3, 0) = QStringLiteral("Blank");
        state.sampleTable(3, 1) = QStringLiteral("a");
        state.sampleTable(12, 4) = QStringLiteral("z");
        state.sampleTable(40, 5) = QStringLiteral("past the rows in use");
        clickCell(0, 1);
        key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Filename: plate.kwl\r\n"
                                "Sample No.\tKey\tdescription2\tdescription3\tdescription4\tdescription5\t\r\n"
                                "3\tBlank\ta\t\t\t\t\r\n"
                                "12\t\t\t\t\tz\t\r\n"));
    }

    void insertKeysKeepTheGridRow()
    {
        nameKeys();
        QCOMPARE(child<QAction>(QStringLiteral("mnuInsertOP1"))->text(), QStringLiteral("Blank"));
        selectItem(4, 2);
        key(Qt::Key_Down);
        key(Qt::Key_F6);
        QCOMPARE(state.sampleTable(4, 0), QStringLiteral("QC"));
        QCOMPARE(grid(0)->row(), 3);
        QCOMPARE(grid(0)->textColourAt(0, 1), state.keyColor[3]);
        QCOMPARE(well(4), opaque(state.keyColor[3]));
        key(Qt::Key_F9);   // a key without a name takes the key away
        QCOMPARE(state.sampleTable(4, 0), QString());
        QCOMPARE(well(4), background());

        auto *assign = child<QAction>(QStringLiteral("mnuSetupAssign"));
        assign->trigger();
        QVERIFY(!assign->isChecked());
        QCOMPARE(state.colorsOn, QStringLiteral("no"));
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
        whenModal(QStringLiteral("Search"), [&question](QWidget *box) {
            auto *message = qobject_cast<QMessageBox *>(box);
            question = message->windowTitle() + u'|' + message->text()
                + QLatin1String(message->icon() == QMessageBox::Question ? "|?" : "|no question icon");
            message->button(QMessageBox::Yes)->click();
        });
        run(QStringLiteral("mnuSearchFind"));
        QCOMPARE(unanswered(), 0);
        QCOMPARE(question, QStringLiteral("Search|Search String was not found.\r\nDo you wish to search from the beginning? |?"));
        QCOMPARE(state.topSample, 3);
        QCOMPARE(state.curRow, 2);
        QCOMPARE(grid(0)->row(), 2);
        QCOMPARE(scrollBar()->value(), 3);

        // Find Next passes the sample found; No leaves everything as shown.
        answerSearch(QMessageBox::No);
        QApplication::setActiveWindow(window.get());
        QTest::keyClick(grid(0), Qt::Key_F3);
        QCOMPARE(unanswered(), 0);
        QCOMPARE(state.topSample, 3);
        QCOMPARE(scrollBar()->value(), 3);
        QCOMPARE(caption(0), QStringLiteral("Row A , Column  3"));

        // Cancel searches again for the earlier text, shown selected.
        // The dialog is closed whatever it showed, so a failure cannot leave
        // the test waiting on it; the focus may arrive a moment after showing.
        QString selected;
        whenModal(QStringLiteral("FindFrm"), [&selected](QWidget *dialog) {
            auto *text = dialog->findChild<QLineEdit *>(QStringLiteral("Text1"));
            (void)QTest::qWaitFor([text] { return !text->selectedText().isEmpty(); }, 2000);
            selected = text->selectedText();
            dialog->findChild<QPushButton *>(QStringLiteral("CancelBtn"))->click();
        });
        scrollBar()->setValue(1);
        run(QStringLiteral("mnuSearchFind"));
        QCOMPARE(selected, QStringLiteral("needle"));
        QCOMPARE(state.topSample, 3);
    }

    void setupDialogsRefreshTheWindow()
    {
        nameKeys();
        state.sampleTable(1, 0) = QStringLiteral("Blank");
        state.sampleTable(2, 0) = QStringLiteral("Blank");
        window->sizeform();
        const QColor before = well(2);
        dialogs->colours = {0x0080FF};
        whenModal(QStringLiteral("Colorfrm"), [](QWidget *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("Operator1"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("OKBtn"))->click();
        });
        run(QStringLiteral("mnuSetupColor"));
        QCOMPARE(grid(0)->textColourAt(0, 1), Colour(0x0080FF));
        QCOMPARE(well(1), opaque(0x0080FF));
        QCOMPARE(well(2), before);   // only the current sample's well is redrawn

        whenModal(QStringLiteral("Config"), [](QWidget *dialog) {
            dialog->findChild<QComboBox *>(QStringLiteral("cboNField"))->setEditText(QStringLiteral("3"));
            dialog->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("LAB"));
            dialog->findChild<QPushButton *>(QStringLiteral("OKBtn"))->click();
        });
        run(QStringLiteral("mnuSetupConfigure"));
        QCOMPARE(child<QLabel>(QStringLiteral("LblCompany"))->text(), QStringLiteral("LAB"));
        QCOMPARE(grid(0)->rows(), 3);
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        QCOMPARE(store.value(QStringLiteral("WNDO/Company")).toString(), QStringLiteral("LAB"));
        QCOMPARE(store.value(QStringLiteral("WNDO/Width")).toDouble(), window->placement().width);
    }

    void descriptionRefusesDoubleQuotes()
    {
        auto *box = child<QLineEdit>(QStringLiteral("TxtFileDesc"));
        box->clear();
        QTest::keyClicks(box, QStringLiteral("Run \"7\""));
        box->insert(QStringLiteral(" \"b\""));
        QCOMPARE(box->text(), QStringLiteral("Run 7 b"));
    }
};

QTEST_MAIN(TestEditingWindow)
#include "tst_editingwindow.moc"

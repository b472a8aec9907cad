#include "windowdriver.h"

#include "core/files/recovery.h"
#include "core/files/samplefile.h"
#include "mainwindow/documenthistory.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

using namespace Tessar;

// Undo and Redo of every change, and the unsaved samples that outlive the
// program, driven through the keyboard, the menus and the plate map.
class TestHistory : public QObject, WindowDriver
{
    Q_OBJECT

    // A 96-well document with samples 1 to 60 filled, on disk.
    QString writeFullPlate(const char *name)
    {
        State other = newPlate();
        other.fileDesc = "Plate on disk";
        other.keyName[1] = "Blank";
        for (int s = 1; s <= 60; ++s) {
            other.sampleTable(s, 0) = s % 3 ? QString() : QStringLiteral("Blank");
            for (int f = 1; f < 5; ++f)
                other.sampleTable(s, f) = QStringLiteral("S%1.%2").arg(s).arg(f);
        }
        return writePlate(other, path(name));
    }

private slots:
    void init() { start(); }
    void cleanup()
    {
        stop();
        QDir(recoveryFolder()).removeRecursively();
    }

    // The box's first text, shown before any step, is what the first
    // edit of it is undone back to, and emptying it is a change too.
    void theFirstEditOfTheDescriptionIsAStep()
    {
        QCOMPARE(description(), QStringLiteral("Description: "));
        auto *box = child<QLineEdit>(QStringLiteral("TxtFileDesc"));
        QTest::mouseClick(box, Qt::LeftButton);
        press(Qt::Key_Home);
        press(Qt::Key_End, Qt::ShiftModifier);
        press(Qt::Key_Delete);
        QCOMPARE(description(), QString());
        QVERIFY(window->isModified());
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(description(), QStringLiteral("Description: "));
        QVERIFY(!window->isModified());

        press(Qt::Key_End);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("run 4"));
        QCOMPARE(description(), QStringLiteral("Description: run 4"));
        choose({QStringLiteral("mnuEdit"), QStringLiteral("mnuEditUndo")});
        QCOMPARE(description(), QStringLiteral("Description: "));
    }

    void fillDownIsUndoneToTheSavedFile()
    {
        const QString file = writeFullPlate("plate.kwl");
        open(file);
        const QByteArray saved = fileBytes(file);
        QCOMPARE(document(), saved);
        QVERIFY(!window->isModified());

        clickCell(0, 2);
        choose({QStringLiteral("mnuEdit"), QStringLiteral("mnuEditFillDownAll"), QStringLiteral("mnuEditFillAll7")});
        QCOMPARE(state.sampleTable(41, 3), QStringLiteral("S1.3"));
        QVERIFY(window->isModified());
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Fill Down All 40 Samples"));

        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document(), saved);
        QVERIFY(!window->isModified());
        QCOMPARE(state.sampleTable(41, 3), QStringLiteral("S41.3"));

        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(41, 3), QStringLiteral("S1.3"));
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);   // nothing left to redo
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document(), saved);
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Open plate.kwl"));   // the file itself can go too
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(label(QStringLiteral("LblFilename")), QStringLiteral("Filename: Untitled"));
        QVERIFY(!child<QAction>(QStringLiteral("mnuEditUndo"))->isEnabled());
        QCOMPARE(undoEntry(), QStringLiteral("&Undo"));
    }

    void undoingNewBringsBackTheDocumentAndItsFile()
    {
        const QString file = writeFullPlate("kept.kwl");
        open(file);
        clickCell(0, 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        const QByteArray edited = document();

        press(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(label(QStringLiteral("LblFilename")), QStringLiteral("Filename: Untitled"));
        QVERIFY(!SampleHasData(state, 1));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(label(QStringLiteral("LblFilename")), QStringLiteral(" Filename: kept.kwl"));
        QCOMPARE(description(), QStringLiteral("Plate on disk"));
        QCOMPARE(document(), edited);
        QVERIFY(child<QAction>(QStringLiteral("mnuFileSave"))->isEnabled());

        press(Qt::Key_S, Qt::ControlModifier);   // to its own file, no dialog
        QVERIFY(!dialogs->kinds.contains(QStringLiteral("save")));
        QCOMPARE(fileBytes(file), edited);
        QVERIFY(!window->isModified());

        // A plate format, colours and all, comes back as it was.
        choose({QStringLiteral("mnuSetup"), QStringLiteral("MnuSetupWell"), QStringLiteral("MnuSetupWellnum3")});
        QCOMPARE(state.wellCount, 384);
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.wellCount, 96);
        QCOMPARE(document(), edited);
        QCOMPARE(QApplication::focusWidget(), grid(0));

        // Undo and Redo bring the sample they change into the first frame.
        selectItem(4, 1);
        press(Qt::Key_C, Qt::ControlModifier);
        selectItem(7, 2);
        press(Qt::Key_V, Qt::ControlModifier);
        scrollBar()->setValue(80);
        press(Qt::Key_Z, Qt::ControlModifier);
        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(scrollBar()->value(), 7);
        QCOMPARE(state.curRow, 2);
    }

    // What the map and the frames show as one types the soak test checks.
    void typingRunsAreOneStep()
    {
        clickCell(1, 2);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
        press(Qt::Key_Backspace);
        press(Qt::Key_Backspace);
        QCOMPARE(state.sampleTable(2, 2), QStringLiteral("a"));
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Erasing"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(2, 2), QStringLiteral("abc"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(2, 2), QString());
        QVERIFY(!window->isModified());

        // Typed and erased back to nothing leaves no step behind.
        clickCell(0, 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
        press(Qt::Key_Backspace);
        press(Qt::Key_Backspace);
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Erasing"));
        // A click elsewhere ends the run: the same cell again is a new step.
        clickCell(0, 3);
        clickCell(0, 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("q"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(1, 1), QString());
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Erasing"));
    }

    // Only the last 50 replaced documents can be brought back; older steps
    // are let go of, and the history stays small.
    void historyKeepsItsBounds()
    {
        const QString files[] = {writeFullPlate("bound1.kwl"), writeFullPlate("bound2.kwl")};
        for (int i = 0; i < DocumentHistory::MaxReplacedDocuments + 5; ++i)
            open(files[i % 2]);
        int undone = 0;
        while (child<QAction>(QStringLiteral("mnuEditUndo"))->isEnabled()) {
            press(Qt::Key_Z, Qt::ControlModifier);
            ++undone;
        }
        QCOMPARE(undone, DocumentHistory::MaxReplacedDocuments);
        QVERIFY(window->history().size() < 4 * 1024 * 1024);
    }

    void unsavedSamplesOutliveTheWindow()
    {
        clickCell(0, 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("unsaved"));
        QVERIFY(recoveryFiles().isEmpty());   // not yet: written in the background
        QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 1, 5000);
        window->close();
        QCOMPARE(recoveryFiles().size(), 1);

        start(QSize(900, 700), false);
        QVERIFY(!SampleHasData(state, 1));   // nothing comes back unasked
        QVERIFY(canChoose(QStringLiteral("mnuFileRecover")));
        whenModal(QStringLiteral("RecoverDialog"), [](QWidget *dialog) {
            QCOMPARE(dialog->findChild<QListWidget *>()->count(), 1);
            clickButton(dialog->findChild<QPushButton *>(QStringLiteral("recoverOpen")));
        });
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileRecover")});
        QCOMPARE(state.sampleTable(1, 1), QStringLiteral("unsaved"));
        QVERIFY(label(QStringLiteral("LblFilename")).startsWith(QStringLiteral("Filename: Untitled, recovered from An untitled list, written")));
        QVERIFY(state.filePath.isEmpty());
        QVERIFY(!canChoose(QStringLiteral("mnuFileRecover")));
        // Held now in this run's own file only.
        const QList<RecoveryFile> files = recoveryFiles();
        QCOMPARE(files.size(), 1);

        // Saved, there is nothing left to recover.
        dialogs->answers = {path("recovered.kwl")};
        press(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(recoveryFiles().isEmpty());
        window->close();
        QVERIFY(recoveryFiles().isEmpty());
    }

    void unsavedSamplesOutliveAKill()
    {
        QProcess typist;
        typist.start(QStringLiteral(TYPING_HELPER), {QStringLiteral("killed")});
        QVERIFY(typist.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!recoveryFiles().isEmpty(), 20000);
        typist.kill();   // SIGKILL: nothing runs on the way out
        QVERIFY(typist.waitForFinished());

        start(QSize(900, 700), false);   // a new run looks for what the last one left
        whenModal(QStringLiteral("RecoverDialog"), [](QWidget *dialog) {
            clickButton(dialog->findChild<QPushButton *>(QStringLiteral("recoverOpen")));
        });
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileRecover")});
        QCOMPARE(state.sampleTable(1, 1), QStringLiteral("killed"));
    }

    void aDamagedFileIsKeptBeforeItIsSavedOver()
    {
        const QString file = writeFullPlate("damaged.kwl");
        QByteArray bytes = fileBytes(file);
        bytes.insert(bytes.indexOf("\"S30.1\""), "not a sample number\r\n");
        writeBytes(file, bytes);

        open(file);
        QVERIFY(SampleHasData(state, 29));
        QVERIFY(!SampleHasData(state, 31));
        QVERIFY(label(QStringLiteral("StatusBar")).startsWith(QStringLiteral("damaged.kwl was read only up to line")));
        press(Qt::Key_S, Qt::ControlModifier);
        const QStringList kept = QDir(recoveryFolder()).entryList({QStringLiteral("damaged-*.kwl")});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(fileBytes(QDir(recoveryFolder()).filePath(kept.first())), bytes);
        press(Qt::Key_S, Qt::ControlModifier);   // one copy is enough
        QCOMPARE(QDir(recoveryFolder()).entryList({QStringLiteral("damaged-*.kwl")}).size(), 1);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"

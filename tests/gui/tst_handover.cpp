#include "windowdriver.h"

#include "app/singleinstance.h"
#include "app/startup.h"
#include "core/files/samplefile.h"

#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

using namespace Tessar;

// A file handed over by a second start of the real program, while this
// window runs and may hold work that is in no file.
class TestHandOver : public QObject, WindowDriver
{
    Q_OBJECT

    std::unique_ptr<SingleInstance> instance;

    QString writeHanded(const char *name, const QString &text)
    {
        State other = newPlate();
        other.sampleTable(3, 1) = text;
        return writePlate(other, path(name));
    }

    // `tessar FILE` as the desktop runs it: it finds this copy and ends.
    void secondStart(const QString &file)
    {
        QProcess second;
        second.start(QStringLiteral(TESSAR_PROGRAM), {file});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
    }

    void typeSomething()
    {
        clickCell(0, 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("work"));
        QVERIFY(window->isModified());
    }

private slots:
    void init()
    {
        start();
        instance = std::make_unique<SingleInstance>();
        QVERIFY(instance->start());
        instance->listen();
        listenForLaterStarts(*instance, *window);
    }
    void cleanup()
    {
        instance.reset();
        stop();
    }

    void aFileThatCannotBeReadChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");   // empty: there is no file
        QTest::addColumn<QString>("said");
        QTest::newRow("missing") << "missing.kwl" << QByteArray() << "There is no such file.";
        QTest::newRow("text") << "notes.txt" << QByteArray("shopping list\r\n") << "not a Tessar sample file";
    }

    void aFileThatCannotBeReadChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        const QString file = path(name);
        if (!content.isEmpty())
            writeBytes(file, content);
        typeSomething();
        const QByteArray before = document();
        const QString title = label(QStringLiteral("LblFilename"));
        QString told;
        whenBox("HandOverFailed", &told);
        secondStart(file);
        QTRY_COMPARE(unanswered(), 0);
        QVERIFY2(told.contains(name) && told.contains(said), qPrintable(told));
        QCOMPARE(document(), before);
        QCOMPARE(label(QStringLiteral("LblFilename")), title);
    }

    void unsavedWorkIsOfferedForSavingFirst()
    {
        const QString file = writeHanded("handed.kwl", QStringLiteral("from disk"));
        typeSomething();
        const QByteArray before = document();

        whenBox("HandOverQuestion", nullptr, QMessageBox::Cancel);
        secondStart(file);
        QTRY_COMPARE(unanswered(), 0);
        QTest::qWait(50);
        QCOMPARE(document(), before);

        // Saving first keeps the work in its own file, then opens the other.
        const QString saved = path("work.kwl");
        dialogs->answers = {saved};
        whenBox("HandOverQuestion", nullptr, QMessageBox::Save);
        secondStart(file);
        QTRY_COMPARE(state.sampleTable(3, 1), QStringLiteral("from disk"));
        QCOMPARE(label(QStringLiteral("LblFilename")), QStringLiteral(" Filename: handed.kwl"));
        QVERIFY(fileBytes(saved).contains("\r\n\"work\"\r\n"));
        QVERIFY(!window->isModified());

        // With nothing unsaved there is no question; Undo brings back what was open.
        const QString other = writeHanded("other.kwl", QStringLiteral("other"));
        secondStart(other);
        QTRY_COMPARE(state.sampleTable(3, 1), QStringLiteral("other"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(3, 1), QStringLiteral("from disk"));
    }

    void discardOpensTheFile()
    {
        const QString file = writeHanded("discard.kwl", QStringLiteral("kept on disk"));
        typeSomething();
        whenBox("HandOverQuestion", nullptr, QMessageBox::Discard);
        secondStart(file);
        QTRY_COMPARE(state.sampleTable(3, 1), QStringLiteral("kept on disk"));
        QVERIFY(!SampleHasData(state, 1));
        press(Qt::Key_Z, Qt::ControlModifier);   // discarded, but not lost
        QCOMPARE(state.sampleTable(1, 1), QStringLiteral("work"));
    }

    void aRequestWaitsForAnOpenDialog()
    {
        const QString file = writeHanded("waiting.kwl", QStringLiteral("waited"));
        bool handed = false;
        whenModal(QStringLiteral("FindFrm"), [this, &file, &handed](QWidget *find) {
            secondStart(file);
            QTest::qWait(200);
            handed = state.sampleTable(3, 1) == u"waited";
            clickButton(find->findChild<QPushButton *>(QStringLiteral("CancelBtn")));
        });
        choose({QStringLiteral("mnuSearch"), QStringLiteral("mnuSearchFind")});
        QVERIFY(!handed);
        QTRY_COMPARE(state.sampleTable(3, 1), QStringLiteral("waited"));
    }
};

QTEST_MAIN(TestHandOver)
#include "tst_handover.moc"

#include "windowdriver.h"

#include "app/singleinstance.h"
#include "app/startup.h"
#include "core/samplefile.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

using namespace Tessar;

// A file handed over by a second start of the real program, while this
// window runs and may hold work that is in no file.
class TestHandOver : public QObject, WindowDriver
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SingleInstance> instance;

    QString writePlate(const char *name, const QString &text)
    {
        State other;
        applyFirstRunDefaults(other);
        newDocument(other);
        other.sampleTable(3, 1) = text;
        other.filePath = dir.filePath(QLatin1String(name));
        if (!WriteSampleFile(other).ok)
            qFatal("cannot write the test file");
        return other.filePath;
    }

    QByteArray document() const
    {
        State copy = state;
        copy.fileDesc = child<QLineEdit>(QStringLiteral("TxtFileDesc"))->text();
        return sampleFileBytes(copy);
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
        listenForLaterStarts(*instance, *window);
    }
    void cleanup()
    {
        instance.reset();
        stop();
    }

    void aFileThatCannotBeReadChangesNothing()
    {
        typeSomething();
        const QByteArray before = document();
        const QString title = label(QStringLiteral("LblFilename"));
        QString told;
        whenModal(QStringLiteral("HandOverFailed"), [&told](QWidget *box) {
            told = qobject_cast<QMessageBox *>(box)->text();
            clickButton(qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok));
        });
        secondStart(dir.filePath(QStringLiteral("missing.kwl")));
        QTRY_COMPARE(unanswered(), 0);
        QVERIFY(told.contains(QStringLiteral("missing.kwl")));
        QVERIFY(told.contains(QStringLiteral("There is no such file.")));
        QCOMPARE(document(), before);
        QCOMPARE(label(QStringLiteral("LblFilename")), title);

        QFile text(dir.filePath(QStringLiteral("notes.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("shopping list\r\n");
        text.close();
        whenModal(QStringLiteral("HandOverFailed"), [&told](QWidget *box) {
            told = qobject_cast<QMessageBox *>(box)->text();
            box->close();
        });
        secondStart(text.fileName());
        QTRY_COMPARE(unanswered(), 0);
        QVERIFY(told.contains(QStringLiteral("not a Tessar sample file")));
        QCOMPARE(document(), before);
    }

    void unsavedWorkIsOfferedForSavingFirst()
    {
        const QString file = writePlate("handed.kwl", QStringLiteral("from disk"));
        typeSomething();
        const QByteArray before = document();

        whenModal(QStringLiteral("HandOverQuestion"), [](QWidget *box) {
            clickButton(qobject_cast<QMessageBox *>(box)->button(QMessageBox::Cancel));
        });
        secondStart(file);
        QTRY_COMPARE(unanswered(), 0);
        QTest::qWait(50);
        QCOMPARE(document(), before);

        // Saving first keeps the work in its own file, then opens the other.
        const QString saved = dir.filePath(QStringLiteral("work.kwl"));
        dialogs->answers = {saved};
        whenModal(QStringLiteral("HandOverQuestion"), [](QWidget *box) {
            clickButton(qobject_cast<QMessageBox *>(box)->button(QMessageBox::Save));
        });
        secondStart(file);
        QTRY_COMPARE(state.sampleTable(3, 1), QStringLiteral("from disk"));
        QCOMPARE(label(QStringLiteral("LblFilename")), QStringLiteral(" Filename: handed.kwl"));
        State reread;
        applyFirstRunDefaults(reread);
        reread.filePath = saved;
        QVERIFY(ReadSampleFile(reread).ok());
        QCOMPARE(reread.sampleTable(1, 1), QStringLiteral("work"));
        QVERIFY(!window->isModified());

        // With nothing unsaved there is no question; Undo brings back what was open.
        const QString other = writePlate("other.kwl", QStringLiteral("other"));
        secondStart(other);
        QTRY_COMPARE(state.sampleTable(3, 1), QStringLiteral("other"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state.sampleTable(3, 1), QStringLiteral("from disk"));
    }

    void discardOpensTheFile()
    {
        const QString file = writePlate("discard.kwl", QStringLiteral("kept on disk"));
        typeSomething();
        whenModal(QStringLiteral("HandOverQuestion"), [](QWidget *box) {
            clickButton(qobject_cast<QMessageBox *>(box)->button(QMessageBox::Discard));
        });
        secondStart(file);
        QTRY_COMPARE(state.sampleTable(3, 1), QStringLiteral("kept on disk"));
        QVERIFY(!SampleHasData(state, 1));
        press(Qt::Key_Z, Qt::ControlModifier);   // discarded, but not lost
        QCOMPARE(state.sampleTable(1, 1), QStringLiteral("work"));
    }

    void aRequestWaitsForAnOpenDialog()
    {
        const QString file = writePlate("waiting.kwl", QStringLiteral("waited"));
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

#include "app/singleinstance.h"
#include "app/startup.h"
#include "core/document.h"
#include "core/samplefile.h"
#include "core/settings.h"
#include "core/state.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Tessar;

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;
    QTemporaryDir m_files;

    static QWidget *mainWindow()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == u"kel95")
                return w;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        // Never meet a copy the person running the tests has open; find the
        // manual, or its warning would wait for a click.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("PATH", qgetenv("TESSAR_SOURCE_DIR") + "/data:" + qgetenv("PATH"));
    }

    // A start that is only timed paints the file it was given, with the
    // keyboard on its first sample, then ends without closing the window,
    // which would save its settings.
    void firstPaintShowsTheFileAndEndsWithoutSaving()
    {
        State doc;
        applyFirstRunDefaults(doc);
        newDocument(doc);
        doc.fileDesc = "Opened at start";
        doc.filePath = m_files.filePath("start.kwl");
        QVERIFY(WriteSampleFile(doc).ok);

        int paints = 0;
        QString shown;
        StartOptions options;
        options.fileToOpen = doc.filePath;
        options.afterFirstPaint = [&] {
            ++paints;
            if (QWidget *w = mainWindow())
                shown = w->findChild<QLabel *>("LblFilename")->text() + '|' + w->findChild<QLineEdit *>("TxtFileDesc")->text()
                        + '|' + (w->focusWidget() ? w->focusWidget()->objectName() : QString());
        };
        QCOMPARE(runTessar(*qApp, options), 0);
        QCOMPARE(paints, 1);
        QCOMPARE(shown, " Filename: start.kwl|Opened at start|GrdID0");
        QVERIFY(!QFile::exists(settingsFilePath()));
        QCOMPARE(mainWindow(), nullptr);
    }

    // A second start hands its file over, as a full path, and never shows a window.
    void secondStartHandsOver()
    {
        SingleInstance running;
        QVERIFY(running.start());
        QSignalSpy opened(&running, &SingleInstance::openRequested);
        bool painted = false;
        StartOptions options;
        options.fileToOpen = "plates/run 7 \u00e9.kwl";
        options.afterFirstPaint = [&] { painted = true; };
        QCOMPARE(runTessar(*qApp, options), 0);
        QVERIFY(!painted);
        QCOMPARE(mainWindow(), nullptr);
        QTRY_COMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toString(), QDir::current().absoluteFilePath(options.fileToOpen));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

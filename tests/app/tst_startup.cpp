// The program's start-up as the desktop and the timing probe run it.

#include "app/singleinstance.h"
#include "app/startup.h"
#include "core/document.h"
#include "core/samplefile.h"
#include "core/settings.h"
#include "core/state.h"

#include <QApplication>
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
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"kel95")
                return w;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        // Never meet a copy of the program the person running the tests has open.
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        // The manual must be found, or its warning box would wait for a click.
        qputenv("PATH", qgetenv("TESSAR_SOURCE_DIR") + "/data:" + qgetenv("PATH"));
    }

    // Ending after the first paint must not go through closing the window,
    // which would save the settings of a start that was only timed.
    void firstPaintEndsWithoutSaving()
    {
        int paints = 0;
        QString labelAtPaint;
        StartOptions options;
        options.afterFirstPaint = [&] {
            ++paints;
            if (QWidget *w = mainWindow())
                labelAtPaint = w->findChild<QLabel *>(QStringLiteral("LblFilename"))->text();
        };
        QCOMPARE(runTessar(*qApp, options), 0);
        QCOMPARE(paints, 1);
        QCOMPARE(labelAtPaint, QStringLiteral("Filename: Untitled"));
        QVERIFY(!QFile::exists(settingsFilePath()));
        QCOMPARE(mainWindow(), nullptr);
    }

    // A file given at start is what the first paint shows.
    void fileGivenAtStartIsShownFirst()
    {
        State doc;
        applyFirstRunDefaults(doc);
        doc.wellCount = 384;
        newDocument(doc);
        doc.fileDesc = QStringLiteral("Opened at start");
        doc.sampleTable(384, 1) = QStringLiteral("last well");
        doc.filePath = m_files.filePath(QStringLiteral("start.kwl"));
        QVERIFY(WriteSampleFile(doc).ok);

        QString label, description;
        StartOptions options;
        options.fileToOpen = doc.filePath;
        options.afterFirstPaint = [&] {
            QWidget *w = mainWindow();
            QVERIFY(w);
            label = w->findChild<QLabel *>(QStringLiteral("LblFilename"))->text();
            description = w->findChild<QLineEdit *>(QStringLiteral("TxtFileDesc"))->text();
        };
        QCOMPARE(runTessar(*qApp, options), 0);
        QCOMPARE(label, QStringLiteral(" Filename: start.kwl"));
        QCOMPARE(description, QStringLiteral("Opened at start"));
    }

    // A second start hands its file over before anything that could show a
    // window or wait, and never paints.
    void secondStartHandsOver()
    {
        SingleInstance running;
        QVERIFY(running.start());
        QSignalSpy opened(&running, &SingleInstance::openRequested);

        bool painted = false;
        StartOptions options;
        options.fileToOpen = m_files.filePath(QStringLiteral("other.kwl"));
        options.afterFirstPaint = [&] { painted = true; };
        QCOMPARE(runTessar(*qApp, options), 0);
        QVERIFY(!painted);
        QCOMPARE(mainWindow(), nullptr);
        QTRY_COMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toString(), options.fileToOpen);
        QVERIFY(!QFile::exists(settingsFilePath()));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

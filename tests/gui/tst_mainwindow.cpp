#include "windowdriver.h"

#include "core/files/keptcopy.h"
#include "core/document/numbers.h"
#include "core/files/samplefile.h"
#include "platform/twips.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Tessar;

namespace {

// The text of the message box a step shows, which is then closed.
QString messageDuring(const std::function<void()> &step)
{
    QString text;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            text = box->text();
            box->close();
        }
    });
    watch.start(5);
    step();
    return text;
}

QStringList storedPlace()
{
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    QStringList place;
    for (const char *key : {"Left", "Top", "Width", "Height"})
        place << store.value(QStringLiteral("WNDO/") + QLatin1String(key)).toString();
    return place;
}

} // namespace

class TestMainWindow : public QObject, WindowDriver
{
    Q_OBJECT

    QString filename() const { return label(QStringLiteral("LblFilename")); }
    bool saveEnabled() const { return child<QAction>(QStringLiteral("mnuFileSave"))->isEnabled(); }

    // A 24-well document with three fields, as another run saved it.
    QString writeSmallPlate()
    {
        State other = newPlate(24);
        other.numField = 3;
        other.fileDesc = "Run 7";
        other.keyName[1] = other.sampleTable(2, 0) = "Blank";
        other.sampleTable(2, 1) = "S-01";
        other.sampleTable(20, 2) = "5 mg";
        return writePlate(other, path("run7.kwl"));
    }

private slots:
    void init() { start(QSize()); }
    void cleanup() { stop(); }

    void wellSizeEmptiesTheDocument()
    {
        // A first start comes up at the window's design size, captions from the first-run settings.
        QCOMPARE(window->size(), QSize(twipsToPixels(6000), twipsToPixels(4600)));
        QCOMPARE(grid(0)->textAt(4, 0), QStringLiteral("description5"));
        state.keyName[2] = state.sampleTable(1, 0) = QStringLiteral("Blank");
        state.sampleTable(40, 1) = QStringLiteral("S-40");
        state.keyColor[2] = 0x123456;
        dialogs->answers = {path("filled.kwl")};
        run(QStringLiteral("mnuFileSaveAs"));
        scrollBar()->setValue(30);

        run(QStringLiteral("MnuSetupWellnum3"));
        QCOMPARE(state.nRows * state.nCols, 384);
        QVERIFY(!SampleHasData(state, 1) && !SampleHasData(state, 40));
        QCOMPARE(state.keyColor[2], Colour(0xFF00));
        QCOMPARE(filename(), QStringLiteral("Filename: Untitled"));
        QVERIFY(!saveEnabled());
    }

    // Open takes the file's format, Save then writes there without asking,
    // and New empties the samples but keeps plate and file. What the frames,
    // the map and the scroll bar show of it the soak test checks.
    void openedFileIsSavedInPlaceUntilNew()
    {
        const QString file = writeSmallPlate();
        scrollBar()->setValue(20);
        open(file);
        QCOMPARE(state.nCols, 6);
        QCOMPARE(filename(), QStringLiteral(" Filename: run7.kwl"));
        QCOMPARE(description(), QStringLiteral("Run 7"));
        QVERIFY(saveEnabled());

        state.sampleTable(7, 1) = QStringLiteral("added");
        run(QStringLiteral("mnuFileSave"));
        QCOMPARE(dialogs->kinds, QStringList{QStringLiteral("open")});
        State back;
        back.filePath = file;
        QVERIFY(ReadSampleFile(back).ok());
        QCOMPARE(back.sampleTable(7, 1) + back.sampleTable(2, 1), QStringLiteral("addedS-01"));

        run(QStringLiteral("mnuFileNew"));
        QCOMPARE(state.wellCount, 24);
        QVERIFY(!SampleHasData(state, 2));
        QCOMPARE(state.filePath, file);
        QCOMPARE(filename(), QStringLiteral("Filename: Untitled"));
        QVERIFY(!saveEnabled());
    }

    void firstSaveAsksForANameAndCancelChangesNothing()
    {
        state.sampleTable(3, 1) = QStringLiteral("keep");
        run(QStringLiteral("mnuFileOpen"));
        run(QStringLiteral("mnuFileSave"));
        QCOMPARE(dialogs->kinds, (QStringList{QStringLiteral("open"), QStringLiteral("save")}));
        QCOMPARE(state.sampleTable(3, 1), QStringLiteral("keep"));
        QCOMPARE(filename(), QStringLiteral("Filename: Untitled"));

        auto *text = child<QLineEdit>(QStringLiteral("TxtFileDesc"));
        text->clear();
        QTest::keyClicks(text, QStringLiteral("Batch \"3\""));   // quotes would break the file
        text->insert(QStringLiteral(" \"b\""));
        dialogs->answers = {path("first.kwl")};
        run(QStringLiteral("mnuFileSave"));
        QCOMPARE(filename(), QStringLiteral("Filename:  first.kwl"));
        QCOMPARE(state.fileDesc, QStringLiteral("Batch 3 b"));
        QVERIFY(QFile::exists(path("first.kwl")));

        dialogs->answers = {path("no-such-folder/x.kwl")};
        const QString warning = messageDuring([this] { choose({"mnuFile", "mnuFileSaveAs"}); });
        QVERIFY2(warning.contains(QStringLiteral("no-such-folder")), qPrintable(warning));
    }

    void pictureFollowsTheWindowSize()
    {
        for (const QSize size : {QSize(1200, 900), QSize(120, 80), QSize(250, 1000)}) {
            window->resize(size);
            QTest::qWait(0);
            const auto plate = window->layoutInTwips().PicWell;
            QCOMPARE(picture()->height(), twipsToPixels(plate.top + plate.height) - twipsToPixels(plate.top));
            // The picture keeps its size when the window is too small to
            // lay it out, but its image never outgrows the window.
            const QSize shown = picture()->size().boundedTo(window->size());
            QCOMPARE(picture()->image().size(), shown * picture()->devicePixelRatio());
        }
    }

    // A place the user left alone is stored again exactly as it was read,
    // however often the program starts and closes, maximised or not.
    void unchangedPlaceIsStoredAsRead()
    {
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExit")});
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        const QStringList firstRun{numberText(float((pixelsToTwips(screen.width()) - 6000) / 2)),
                                   numberText(float((pixelsToTwips(screen.height()) - 4600) / 2)),
                                   QStringLiteral("6000"), QStringLiteral("4600")};
        QCOMPARE(storedPlace(), firstRun);

        {
            QSettings store(settingsFilePath(), QSettings::IniFormat);
            store.setValue(QStringLiteral("WNDO/Left"), QStringLiteral("1510"));
            store.setValue(QStringLiteral("WNDO/Top"), QStringLiteral("1190.5"));
        }
        for (int run = 0; run < 3; ++run) {
            start(QSize(), false);
            if (run > 0) {
                const QRect normal = window->geometry();
                window->showMaximized();
                QTRY_VERIFY(window->isMaximized() && window->geometry() != normal);
            }
            choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExit")});
            QCOMPARE(storedPlace(), (QStringList{QStringLiteral("1510"), QStringLiteral("1190.5"), firstRun[2], firstRun[3]}));
        }
    }

    // Saving over a hard-linked file writes it in place. When the disk
    // fills up half-way, the message names the copy kept beforehand.
    void failedSaveOverASharedFileNamesTheKeptCopy()
    {
        QDir(keptCopyFolder()).removeRecursively();   // left by an earlier run of the suite
        const QString file = writeSmallPlate();
        const QString other = path("run7-other-name.kwl");
        QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);
        dialogs->answers = {file};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileOpen")});
        const QByteArray before = fileBytes(file);
        for (int s = 1; s <= 24; ++s)
            state.sampleTable(s, 1) = QString(100, QLatin1Char('x'));

        rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{rlim_t(before.size() + 500), old.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        const QString message = messageDuring([this] { choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileSave")}); });
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);

        const QDir kept(keptCopyFolder());
        const QStringList copies = kept.entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(fileBytes(kept.filePath(copies.first())), before);
        QVERIFY2(message.contains(QDir::toNativeSeparators(kept.filePath(copies.first()))), qPrintable(message));
        QVERIFY2(message.startsWith(QStringLiteral("The samples could not be saved to\n") + file), qPrintable(message));
        struct stat a {}, b {};
        ::stat(QFile::encodeName(file).constData(), &a);
        ::stat(QFile::encodeName(other).constData(), &b);
        QCOMPARE(a.st_ino, b.st_ino);

        // With room again the same Save succeeds and leaves no copy behind.
        QCOMPARE(messageDuring([this] { choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileSave")}); }), QString());
        QCOMPARE(kept.entryList(QDir::Files), copies);
        QVERIFY(fileBytes(other).contains(QByteArray(100, 'x')));
    }

    void closeWritesTheSettingsTheNextStartUses()
    {
        whenModal("Config", [](QWidget *dialog) {
            dialog->findChild<QLineEdit *>("Text1")->setText("LAB");
            clickButton(dialog->findChild<QPushButton *>("OKBtn"));
        });
        choose({"mnuSetup", "mnuSetupConfigure"});
        // Stored at once, not only on the way out.
        QCOMPARE(QSettings(settingsFilePath(), QSettings::IniFormat).value("WNDO/Company").toString(), "LAB");
        state.keyName[3] = QStringLiteral("Std");
        run(QStringLiteral("MnuSetupWellnum1"));
        window->move(40, 30);
        window->resize(500, 400);
        QSignalSpy unloaded(window.get(), &MainWindow::unloaded);
        run(QStringLiteral("mnuFileExit"));
        QCOMPARE(unloaded.count(), 1);
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        QCOMPARE(store.value(QStringLiteral("WNDO/Company")).toString(), QStringLiteral("LAB"));
        QCOMPARE(store.value(QStringLiteral("WNDO/Operator 3")).toString(), QStringLiteral("Std"));
        QCOMPARE(store.value(QStringLiteral("WNDO/Height")).toDouble(), pixelsToTwips(400));

        start(QSize(), false);
        QCOMPARE(state.wellCount, 48);
        QCOMPARE(state.keyName[3], QStringLiteral("Std"));
        QCOMPARE(window->size(), QSize(500, 400));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

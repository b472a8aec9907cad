#include "scripteddialogs.h"

#include "core/document.h"
#include "core/samplefile.h"
#include "core/settings.h"
#include "core/state.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/colour.h"
#include "platform/grid.h"
#include "platform/twips.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Tessar;

class TestMainWindow : public QObject
{
    Q_OBJECT

    State state;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<ScriptedDialogs> dialogs;
    QTemporaryDir dir;

    void start()
    {
        window.reset();
        state = State();
        applyFirstRunDefaults(state);
        window = std::make_unique<MainWindow>(state);
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        window->loadSettings(store);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    template<typename T>
    T *child(const QString &name) const
    {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    void run(const QString &command) { child<QAction>(command)->trigger(); }
    QString label(const char *name) const { return child<QLabel>(QLatin1String(name))->text(); }
    QString description() const { return child<QLineEdit>(QStringLiteral("TxtFileDesc"))->text(); }
    bool saveEnabled() const { return child<QAction>(QStringLiteral("mnuFileSave"))->isEnabled(); }
    QScrollBar *scrollBar() const { return child<QScrollBar>(QStringLiteral("vsb")); }
    QString caption(int frame) const { return child<QGroupBox>(QStringLiteral("fraSample%1").arg(frame))->title(); }
    Grid *grid(int frame) const { return child<Grid>(QStringLiteral("GrdID%1").arg(frame)); }
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

    // A 24-well document on disk, as another run of the program saved it.
    QString writeSmallPlate(const char *name)
    {
        State other;
        applyFirstRunDefaults(other);
        other.wellCount = 24;
        newDocument(other);
        other.numField = 3;
        other.fieldName = {QStringLiteral("Key"), QStringLiteral("Sample ID"), QStringLiteral("Conc")};
        other.company = QStringLiteral("LAB");
        other.fileDesc = QStringLiteral("Run 7");
        other.keyName[1] = QStringLiteral("Blank");
        other.sampleTable(2, 0) = QStringLiteral("Blank");
        other.sampleTable(2, 1) = QStringLiteral("S-01");
        other.sampleTable(20, 2) = QStringLiteral("5 mg");
        other.filePath = path(name);
        if (!WriteSampleFile(other).ok)
            qFatal("cannot write the test file");
        return other.filePath;
    }

    // A stored colour as the plate image holds it.
    QColor opaque(Colour colour) const
    {
        return QColor(toQColor(colour, window->findChild<PicWell *>()->palette()).rgb());
    }

    QColor background() const { return window->findChild<PicWell *>()->backColor(); }

private slots:
    void init()
    {
        QFile::remove(settingsFilePath());
        dialogs = std::make_unique<ScriptedDialogs>();
        start();
    }

    void cleanup()
    {
        window.reset();
        dialogs.reset();
    }

    void firstStartShowsAnEmptyUntitledPlate()
    {
        QCOMPARE(window->objectName(), QStringLiteral("kel95"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Corvant XY Stage"));
        QCOMPARE(state.profileDir, QCoreApplication::applicationDirPath());

        QCOMPARE(label("LblFilename"), QStringLiteral("Filename: Untitled"));
        QCOMPARE(label("LblCompany"), QStringLiteral("HALV"));
        QCOMPARE(description(), QStringLiteral("Description: "));
        QVERIFY(saveEnabled());
        QVERIFY(!child<QAction>(QStringLiteral("mnuEditPaste"))->isEnabled());
        QVERIFY(child<QAction>(QStringLiteral("mnuSetupAssign"))->isChecked());
        QCOMPARE(child<QAction>(QStringLiteral("mnuInsertOP1"))->text(), QString());
        QCOMPARE(child<QAction>(QStringLiteral("mnuInsertOP6"))->shortcut(), QKeySequence(Qt::Key_F9));

        // 6000 x 4600 twips, centred on the screen.
        QCOMPARE(window->size(), QSize(twipsToPixels(6000), twipsToPixels(4600)));
        QCOMPARE(caption(0), QStringLiteral("Row A , Column  1"));
        QCOMPARE(grid(0)->textAt(0, 0), QStringLiteral("Key"));
        QCOMPARE(grid(0)->textAt(4, 0), QStringLiteral("description5"));
        QCOMPARE(scrollBar()->maximum(), 96);
        QCOMPARE(scrollBar()->value(), 1);
    }

    void wellSizeEmptiesTheDocument()
    {
        state.keyName[2] = QStringLiteral("Blank");
        state.sampleTable(1, 0) = QStringLiteral("Blank");
        state.sampleTable(40, 1) = QStringLiteral("S-40");
        state.keyColor[2] = 0x123456;
        dialogs->answers = {path("filled.kwl")};
        run(QStringLiteral("mnuFileSaveAs"));
        scrollBar()->setValue(30);
        QCOMPARE(state.topSample, 30);

        run(QStringLiteral("MnuSetupWellnum3"));
        QCOMPARE(state.wellCount, 384);
        QCOMPARE(state.nRows, 16);
        QCOMPARE(state.nCols, 24);
        QVERIFY(!SampleHasData(state, 1));
        QVERIFY(!SampleHasData(state, 40));
        QCOMPARE(state.keyColor[2], Colour(0xFF00));
        QCOMPARE(label("LblFilename"), QStringLiteral("Filename: Untitled"));
        QCOMPARE(description(), QStringLiteral("Description: "));
        QVERIFY(!saveEnabled());
        QCOMPARE(state.topSample, 1);
        QCOMPARE(scrollBar()->value(), 1);
        QCOMPARE(scrollBar()->maximum(), 384);
        QCOMPARE(caption(0), QStringLiteral("Row A , Column  1"));
        QCOMPARE(window->plateMap().pixelOf(1), background());
        QCOMPARE(window->plateMap().pixelOf(384), background());
    }

    void openTakesTheFilesOwnFormat()
    {
        const QString file = writeSmallPlate("run7.kwl");
        scrollBar()->setValue(20);
        dialogs->answers = {file};
        run(QStringLiteral("mnuFileOpen"));

        QCOMPARE(dialogs->kinds, QStringList{QStringLiteral("open")});
        const CommonDialogs::FileRequest &asked = dialogs->requests.first();
        QCOMPARE(asked.title, QStringLiteral("Open File"));
        QCOMPARE(asked.fileName, QStringLiteral("*.kwl"));
        QCOMPARE(asked.defaultExt, QStringLiteral("kwl"));
        QCOMPARE(asked.filter, QStringLiteral("Tessar File (*.kwl)|*.kwl|All Files (*.*)|*.*|"));
        QCOMPARE(asked.initDir, state.profileDir);
        QCOMPARE(asked.filterIndex, 1);

        QCOMPARE(state.wellCount, 24);
        QCOMPARE(state.nCols, 6);
        QCOMPARE(state.sampleTable(2, 1), QStringLiteral("S-01"));
        QCOMPARE(label("LblFilename"), QStringLiteral(" Filename: run7.kwl"));
        QCOMPARE(label("LblCompany"), QStringLiteral("LAB"));
        QCOMPARE(description(), QStringLiteral("Run 7"));
        QVERIFY(saveEnabled());
        QCOMPARE(child<QAction>(QStringLiteral("mnuInsertOP1"))->text(), QStringLiteral("Blank"));

        // The frames stay where they were and show the file's rows.
        QCOMPARE(state.topSample, 20);
        QCOMPARE(scrollBar()->maximum(), 24);
        QCOMPARE(caption(0), QStringLiteral("Row D , Column  2"));
        QCOMPARE(grid(0)->rows(), 3);
        QCOMPARE(grid(0)->textAt(1, 0), QStringLiteral("Sample ID"));
        QCOMPARE(grid(0)->textAt(2, 1), QStringLiteral("5 mg"));
        QCOMPARE(window->plateMap().pixelOf(2), opaque(state.keyColor[1]));
        QCOMPARE(window->plateMap().pixelOf(20), opaque(ButtonShadowColour));
    }

    void cancelledDialogsChangeNothing()
    {
        state.sampleTable(3, 1) = QStringLiteral("keep");
        run(QStringLiteral("mnuFileOpen"));
        run(QStringLiteral("mnuFileSaveAs"));
        run(QStringLiteral("mnuFileSave"));
        QCOMPARE(dialogs->kinds.size(), 3);
        QCOMPARE(state.sampleTable(3, 1), QStringLiteral("keep"));
        QCOMPARE(state.filePath, QString());
        QCOMPARE(label("LblFilename"), QStringLiteral("Filename: Untitled"));
        QVERIFY(saveEnabled());
    }

    void firstSaveAsksForANameThenWritesThere()
    {
        child<QLineEdit>(QStringLiteral("TxtFileDesc"))->setText(QStringLiteral("Batch 3"));
        dialogs->answers = {path("first.kwl")};
        run(QStringLiteral("mnuFileSave"));
        QCOMPARE(dialogs->kinds, QStringList{QStringLiteral("save")});
        QCOMPARE(dialogs->requests.first().title, QStringLiteral("Save File As"));
        QCOMPARE(label("LblFilename"), QStringLiteral("Filename:  first.kwl"));
        QCOMPARE(state.fileDesc, QStringLiteral("Batch 3"));
        QVERIFY(QFile::exists(path("first.kwl")));

        dialogs->answers = {path("second.kwl")};
        run(QStringLiteral("mnuFileSaveAs"));
        QCOMPARE(label("LblFilename"), QStringLiteral("filename:  second.kwl"));
        QVERIFY(QFile::exists(path("second.kwl")));
    }

    void saveAfterOpenWritesWithoutAsking()
    {
        const QString file = writeSmallPlate("open.kwl");
        dialogs->answers = {file};
        run(QStringLiteral("mnuFileOpen"));
        state.sampleTable(7, 1) = QStringLiteral("added");
        run(QStringLiteral("mnuFileSave"));
        QCOMPARE(dialogs->requests.size(), 1);
        QCOMPARE(label("LblFilename"), QStringLiteral(" Filename: open.kwl"));

        State back;
        back.filePath = file;
        QVERIFY(ReadSampleFile(back).ok());
        QCOMPARE(back.sampleTable(7, 1), QStringLiteral("added"));
        QCOMPARE(back.sampleTable(2, 1), QStringLiteral("S-01"));
    }

    void failedSaveIsReported()
    {
        QString warning;
        QTimer::singleShot(0, this, [&warning] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                warning = box->text();
                box->close();
            }
        });
        dialogs->answers = {path("no-such-folder/x.kwl")};
        run(QStringLiteral("mnuFileSaveAs"));
        QVERIFY2(warning.contains(QStringLiteral("no-such-folder")), qPrintable(warning));
        QVERIFY(!QFile::exists(path("no-such-folder/x.kwl")));
    }

    void newKeepsPlateAndFileButEmptiesSamples()
    {
        const QString file = writeSmallPlate("kept.kwl");
        dialogs->answers = {file};
        run(QStringLiteral("mnuFileOpen"));
        run(QStringLiteral("mnuFileNew"));
        QCOMPARE(state.wellCount, 24);
        QVERIFY(!SampleHasData(state, 2));
        QCOMPARE(state.filePath, file);
        QCOMPARE(label("LblFilename"), QStringLiteral("Filename: Untitled"));
        QCOMPARE(description(), QStringLiteral("Description: "));
        QVERIFY(!saveEnabled());
        QCOMPARE(window->plateMap().pixelOf(2), background());
    }

    void scrollBarMovesSamplesThroughTheFrames()
    {
        window->resize(900, 700);
        QTRY_VERIFY(state.nFrames >= 2);
        QCOMPARE(scrollBar()->pageStep(), state.nFrames);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(child<QGroupBox>(QStringLiteral("fraSample%1").arg(i))->isVisible(), i < state.nFrames);

        state.keyName[4] = QStringLiteral("Std");
        state.sampleTable(13, 0) = QStringLiteral("Std");
        state.sampleTable(13, 2) = QStringLiteral("desc");
        scrollBar()->setValue(12);
        QCOMPARE(state.topSample, 12);
        QCOMPARE(caption(0), QStringLiteral("Row A , Column  12"));
        QCOMPARE(caption(1), QStringLiteral("Row B , Column  1"));
        QCOMPARE(grid(1)->textAt(0, 1), QStringLiteral("Std"));
        QCOMPARE(grid(1)->textColourAt(0, 1), state.keyColor[4]);
        QCOMPARE(grid(1)->textAt(2, 1), QStringLiteral("desc"));
        QCOMPARE(grid(1)->textColourAt(2, 1), Colour(0));

        // The last sample can head the list; the frames after it are empty.
        scrollBar()->setValue(96);
        QCOMPARE(caption(0), QStringLiteral("Row H , Column  12"));
        QCOMPARE(caption(1), QString());
        QCOMPARE(grid(1)->textAt(0, 1), QString());
    }

    void layoutFollowsTheWindowSize()
    {
        for (const QSize size : {QSize(300, 200), QSize(1200, 900), QSize(120, 80), QSize(250, 1000)}) {
            window->resize(size);
            QTest::qWait(0);
            const auto *picture = window->findChild<PicWell *>();
            QCOMPARE(picture->height(), twipsToPixels(window->layoutInTwips().PicWell.top + window->layoutInTwips().PicWell.height)
                                            - twipsToPixels(window->layoutInTwips().PicWell.top));
            QVERIFY(picture->width() > 0);
            QCOMPARE(picture->image().size(), picture->size() * picture->devicePixelRatio());
            for (int i = 0; i < 10; ++i)
                QVERIFY(grid(i)->width() > 0);
        }
    }

    void listAndAboutOpenTheirDialogs()
    {
        QStringList opened;
        const auto closeNextDialog = [&opened, this] {
            QTimer::singleShot(0, this, [&opened] {
                if (QWidget *dialog = QApplication::activeModalWidget()) {
                    opened << dialog->objectName();
                    dialog->close();
                }
            });
        };
        closeNextDialog();
        QTest::mouseClick(child<QPushButton>(QStringLiteral("CmdList")), Qt::LeftButton);
        closeNextDialog();
        run(QStringLiteral("mnuHelpAbout"));
        QCOMPARE(opened, (QStringList{QStringLiteral("Stat"), QStringLiteral("frmAbout")}));
    }

    void closeWritesEverySetting()
    {
        state.company = QStringLiteral("LAB");
        state.keyName[3] = QStringLiteral("Std");
        run(QStringLiteral("MnuSetupWellnum1"));
        window->move(40, 30);
        window->resize(500, 400);
        QSignalSpy unloaded(window.get(), &MainWindow::unloaded);
        run(QStringLiteral("mnuFileExit"));
        QCOMPARE(unloaded.count(), 1);

        QSettings store(settingsFilePath(), QSettings::IniFormat);
        store.beginGroup(QStringLiteral("WNDO"));
        QCOMPARE(store.value(QStringLiteral("Company")).toString(), QStringLiteral("LAB"));
        QCOMPARE(store.value(QStringLiteral("Operator 3")).toString(), QStringLiteral("Std"));
        QCOMPARE(store.value(QStringLiteral("Well Size")).toString(), QStringLiteral("48"));
        QCOMPARE(store.value(QStringLiteral("Field 0")).toString(), QStringLiteral("Key"));
        QCOMPARE(store.value(QStringLiteral("Width")).toDouble(), pixelsToTwips(500));
        QCOMPARE(store.value(QStringLiteral("Height")).toDouble(), pixelsToTwips(400));
        const QStringList expected{QStringLiteral("Colors"), QStringLiteral("Company"), QStringLiteral("Field 0"),
                                   QStringLiteral("Field 1"), QStringLiteral("Field 2"), QStringLiteral("Field 3"),
                                   QStringLiteral("Field 4"), QStringLiteral("Height"), QStringLiteral("Left"),
                                   QStringLiteral("NumField"), QStringLiteral("Operator 1"), QStringLiteral("Operator 2"),
                                   QStringLiteral("Operator 3"), QStringLiteral("Operator 4"), QStringLiteral("Operator 5"),
                                   QStringLiteral("Operator 6"), QStringLiteral("Top"), QStringLiteral("Well Size"),
                                   QStringLiteral("Width")};
        QStringList keys = store.childKeys();
        keys.sort();
        QCOMPARE(keys, expected);
        store.endGroup();
        QVERIFY(!store.contains(QStringLiteral("Main/Profile")));

        // The next start comes back where this one ended.
        start();
        QCOMPARE(state.wellCount, 48);
        QCOMPARE(window->size(), QSize(500, 400));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

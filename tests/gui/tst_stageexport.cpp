#include "windowdriver.h"

#include "core/stage/stagesettings.h"
#include "plate/routedrawing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QPointer>
#include <QPushButton>

using namespace Tessar;

class TestStageExport : public QObject, WindowDriver
{
    Q_OBJECT

    static Tessar::StageSettings stored()
    {
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        return loadStageSettings(store);
    }

    // A click into a box, everything in it selected and replaced by typing.
    static void typeInto(QWidget *dialog, const char *name, const QString &text)
    {
        auto *box = dialog->findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY(box);
        QVERIFY(activated(dialog));
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }

    static void click(QWidget *dialog, const char *name) { clickButton(dialog->findChild<QPushButton *>(QLatin1String(name))); }
    // A click that opens another modal window: made once this answer has
    // returned, so the next answer in the queue can meet that window.
    static void clickLater(QWidget *dialog, const char *name)
    {
        QPointer<QPushButton> button = dialog->findChild<QPushButton *>(QLatin1String(name));
        QTimer::singleShot(0, button, [button] { clickButton(button); });
    }

    // Picks a combo box entry with the keyboard: its label's access key,
    // then the arrow keys, as a user steps through it.
    static void pick(QWidget *dialog, const char *name, Qt::Key accessKey, int index)
    {
        auto *box = dialog->findChild<QComboBox *>(QLatin1String(name));
        QVERIFY(activated(dialog));
        QTest::keyClick(QApplication::focusWidget(), accessKey, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(box, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(box->currentIndex(), index);
    }

    static int inkOf(const QImage &image, const QColor &colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour;
        }
        return count;
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    // A type of one's own is kept in the settings; a value that fails the
    // checks says why and is never stored.
    void plateTypesKeptAndChecked()
    {
        whenModal("PlateTypes", [](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>("lstPlateTypes");
            QCOMPARE(list->count(), 5);
            QCOMPARE(list->currentItem()->text(), "ANSI/SLAS 96");
            // Built-in types are looked at, not changed.
            QVERIFY(dialog->findChild<QLineEdit *>("TxtPitchX")->isReadOnly());
            click(dialog, "cmdTypeNew");
            typeInto(dialog, "TxtTypeName", "Deep well 96");
            typeInto(dialog, "TxtPitchX", "9,02");
            click(dialog, "cmdTypesOk");
        });
        choose({"mnuSetup", "mnuSetupPlateTypes"});
        QCOMPARE(unanswered(), 0);
        StageSettings settings = stored();
        QCOMPARE(settings.userTypes.size(), 1u);
        QCOMPARE(settings.userTypes[0].name, "Deep well 96");
        QCOMPARE(settings.userTypes[0].pitchX, 9.02);

        QString told;
        whenModal("PlateTypes", [&](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>("lstPlateTypes");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(5)).center());
            typeInto(dialog, "TxtPitchY", "12");
            clickLater(dialog, "cmdTypesOk");
        });
        whenBox("PlateTypeRefused", &told);
        // Still open on the refused values, which Cancel drops.
        whenModal("PlateTypes", [](QWidget *dialog) { click(dialog, "cmdTypesCancel"); });
        choose({"mnuSetup", "mnuSetupPlateTypes"});
        QTRY_COMPARE(unanswered(), 0);
        QVERIFY2(told.contains("outside the 127.76 \u00d7 85.48 mm footprint"), qPrintable(told));
        QCOMPARE(stored().userTypes[0].pitchY, 9.0);
    }

    // The whole road: a calibration taught in the dialog, the shortest
    // route drawn over the map, the position list written, and the same
    // file from tessar-kwl, which reads the calibration from the settings.
    void routeTaughtPreviewedAndWritten()
    {
        for (int s : {1, 12, 40, 85, 96})
            state.sampleTable(s, 0) = "Std";
        state.filePath = writePlate(state, path("run.kwl"));
        state.fileTitle = "run.kwl";

        QImage shot;
        QString summary;
        QStringList orders;
        whenModal("StagePositions", [&](QWidget *dialog) {
            auto *order = dialog->findChild<QComboBox *>("cboOrder");
            for (int i = 0; i < order->count(); ++i)
                orders << order->itemText(i);
            pick(dialog, "cboOrder", Qt::Key_O, 3);
            clickLater(dialog, "cmdCalibrate");
        });
        whenModal("Calibration", [](QWidget *teach) {
                auto *fit = teach->findChild<QLabel *>("lblFit");
                auto *ok = teach->findChild<QPushButton *>("cmdCalibrationOk");
                // Two wells at one stage position are refused as typed.
                typeInto(teach, "TxtStageX1", "1000");
                typeInto(teach, "TxtStageY1", "2000");
                typeInto(teach, "TxtStageX2", "1000");
                typeInto(teach, "TxtStageY2", "2000");
                QVERIFY(!ok->isEnabled());
                QVERIFY2(fit->text().contains("one stage position"), qPrintable(fit->text()));
                typeInto(teach, "TxtStageX2", "100000");
                typeInto(teach, "TxtStageY2", "65000");
                QVERIFY2(ok->isEnabled(), qPrintable(fit->text()));
                QVERIFY(!teach->findChild<QLabel *>("lblResidual1")->text().isEmpty());
                clickButton(ok);
        });
        whenModal("StagePositions", [&](QWidget *dialog) {
            QTRY_COMPARE(dialog->findChild<QComboBox *>("cboCalibration")->currentText(), "Stage 1");
            summary = dialog->findChild<QLabel *>("lblRouteSummary")->text();
            shot = dialog->grab().toImage();
            click(dialog, "cmdStageSave");
        });
        dialogs->answers = {path("run.pos")};
        choose({"mnuFile", "mnuFileExport", "mnuFileExportStage"});
        QTRY_COMPARE(unanswered(), 0);
        QCOMPARE(orders.size(), 4);
        QVERIFY2(orders[1].startsWith("Serpentine by rows (") && orders[1].endsWith(" mm)"), qPrintable(orders[1]));
        QVERIFY2(summary.startsWith("5 wells to visit") && summary.contains("stage coordinates"), qPrintable(summary));
        // The route shows: its line and the first well's ring.
        QVERIFY(inkOf(shot, RouteColour) > 100);
        QVERIFY(inkOf(shot, RouteStartColour) > 20);

        const QJsonArray positions =
            QJsonDocument::fromJson(fileBytes(path("run.pos")))["map"]["StagePositions"]["array"].toArray();
        QStringList labels;
        for (const QJsonValue p : positions)
            labels << p["Label"]["scalar"].toString();
        labels.sort();
        QCOMPARE(labels, (QStringList{"A1", "A12", "D4", "H1", "H12"}));
        QVERIFY(status().contains("5 stage position(s) exported"));

        QProcess tool;
        tool.start(TESSAR_KWL, {"positions", path("run.kwl"), "--plate", "ANSI/SLAS 96", "--calibration", "Stage 1",
                                "--order", "shortest", "--to", "pos"});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.readAllStandardOutput(), fileBytes(path("run.pos")));
        QCOMPARE(stored().chosenType(96)->name, "ANSI/SLAS 96");
    }

    // The route's picture as the plate map's: the map, plus the ring of
    // the first well; a name of another kind is refused.
    void routePictureAndRefusals()
    {
        state.sampleTable(3, 0) = "Std";
        state.sampleTable(50, 1) = "S-50";
        QString told;
        whenModal("StagePositions", [&](QWidget *dialog) {
            click(dialog, "cmdRoutePicture");
            clickLater(dialog, "cmdRoutePicture");
        });
        whenBox("ExportFailed", &told);
        whenModal("StagePositions", [&](QWidget *dialog) { click(dialog, "cmdStageSave"); });
        dialogs->answers = {path("route.svg"), path("route.jpg"), path("route.txt")};
        QString refused;
        whenBox("ExportFailed", &refused);
        choose({"mnuFile", "mnuFileExport", "mnuFileExportStage"});
        QTRY_COMPARE(unanswered(), 0);
        QVERIFY(told.contains(".svg"));
        QVERIFY(refused.contains(".pos"));
        QVERIFY(!QFile::exists(path("route.txt")));
        const SvgDrawing svg = readSvg(path("route.svg"));
        QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
        QCOMPARE(svg.ellipses, 96 + 2 + 8 + 7 + 1);

        // An empty plate has nothing to visit until every well is asked for.
        state.sampleTable(3, 0).clear();
        state.sampleTable(50, 1).clear();
        whenModal("StagePositions", [&](QWidget *dialog) {
            auto *save = dialog->findChild<QPushButton *>("cmdStageSave");
            QVERIFY(!save->isEnabled());
            auto *all = dialog->findChild<QCheckBox *>("chkAllWells");
            QTest::mouseClick(all, Qt::LeftButton, {}, QPoint(8, all->height() / 2));
            QVERIFY(save->isEnabled());
            pick(dialog, "cboUnits", Qt::Key_U, 1);
            clickButton(save);
        });
        dialogs->answers = {path("all.csv")};
        choose({"mnuFile", "mnuFileExport", "mnuFileExportStage"});
        QTRY_COMPARE(unanswered(), 0);
        const QByteArray csv = fileBytes(path("all.csv"));
        QCOMPARE(csv.count('\n'), 97);
        QVERIFY(csv.startsWith("Order,Well,Sample No.,Key,X (mm),Y (mm)\r\n1,A1,1,,14.38,11.24\r\n"));
    }
};

QTEST_MAIN(TestStageExport)
#include "tst_stageexport.moc"

#include "windowdriver.h"

#include "core/files/samplefile.h"
#include "core/tables/tableexport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>

using namespace Tessar;

// Sample lists coming in from spreadsheets and files and going out again,
// driven through the menus, the keyboard and the system clipboard.
class TestSampleTables : public QObject, WindowDriver
{
    Q_OBJECT

    // A 96-well list with keys Blank and Std and samples 12 to 40 filled,
    // opened through File > Open.
    void openPlate()
    {
        State other = newPlate();
        other.fileDesc = "Run 7";
        const char *const captions[] = {"Key", "Sample ID", "Conc", "Volume", "Note"};
        for (int f = 0; f < 5; ++f)
            other.fieldName[std::size_t(f)] = QLatin1String(captions[f]);
        other.keyName[1] = "Blank";
        other.keyName[2] = "Std";
        for (int s = 12; s <= 40; ++s) {
            other.sampleTable(s, 0) = s % 3 == 0 ? QStringLiteral("Blank") : s % 3 == 1 ? QStringLiteral("Std") : QString();
            other.sampleTable(s, 1) = QStringLiteral("S-%1").arg(s);
            other.sampleTable(s, 2) = s % 2 ? QStringLiteral("1,5") : QString();
            other.sampleTable(s, 4) = QStringLiteral(" note %1 ").arg(s);
        }
        open(writePlate(other, path("plate.kwl")));
    }

    void import(const QString &file)
    {
        dialogs->answers = {file};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileImport")});
    }

    void pasteTable(const QString &text)
    {
        QGuiApplication::clipboard()->setText(text);
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    }

    static QStringList problems(QWidget *preview)
    {
        QStringList lines;
        auto *list = preview->findChild<QTreeWidget *>(QStringLiteral("importProblems"));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            lines.append(list->topLevelItem(i)->text(0) + QStringLiteral(": ") + list->topLevelItem(i)->text(1));
        return lines;
    }

    static QString text(QWidget *dialog, const char *label)
    {
        return dialog->findChild<QLabel *>(QLatin1String(label))->text();
    }

    static void click(QWidget *dialog, const char *button)
    {
        QTest::mouseClick(dialog->findChild<QAbstractButton *>(QLatin1String(button)), Qt::LeftButton);
    }

private slots:
    void init()
    {
        start();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { stop(); }

    void spreadsheetBlockPastesFromTheFocusedGridAndUndoes()
    {
        openPlate();
        clickCell(1, 2);   // sample 2, Conc
        press(Qt::Key_C, Qt::ControlModifier);   // Paste, on Ctrl+V, stands ready too
        const QByteArray before = document();
        QCOMPARE(QApplication::focusWidget(), grid(1));
        pasteTable(QStringLiteral("a1\tb1\r\na2\tb2\r\na3\tb3\r\n"));

        QCOMPARE(QStringList({state.sampleTable(2, 2), state.sampleTable(2, 3), state.sampleTable(3, 2),
                              state.sampleTable(3, 3), state.sampleTable(4, 2), state.sampleTable(4, 3)}),
                 QStringList({"a1", "b1", "a2", "b2", "a3", "b3"}));
        QCOMPARE(state.sampleTable(5, 2), QString());
        QCOMPARE(status(), QStringLiteral("3 samples filled from the clipboard."));
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Paste Table"));

        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document(), before);
    }

    void pasteSaysWhatItCouldNotPaste()
    {
        openPlate();
        selectItem(10, 1);
        const QString stepBefore = undoEntry();
        const QByteArray before = document();
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);   // the clipboard is empty
        QCOMPARE(status(), QStringLiteral("The clipboard holds no text: nothing was pasted."));
        QCOMPARE(document(), before);
        QCOMPARE(undoEntry(), stepBefore);

        // A text the file format cannot hold is stored as Save writes it, and
        // said in the status line only.
        pasteTable(QStringLiteral("say \"hi\""));
        QCOMPARE(state.sampleTable(10, 1), QStringLiteral("say 'hi'"));
        QCOMPARE(status(), QStringLiteral("1 sample filled from the clipboard; line 1: a double quote is stored as an apostrophe."));

        // Past the last row and past the last well: cut, and told in a box.
        selectItem(95, 4);
        QString told;
        whenBox("PasteTableReport", &told);
        pasteTable(QStringLiteral("x\tcut\ny\nz\n"));
        QCOMPARE(state.sampleTable(95, 4), QStringLiteral("x"));
        QCOMPARE(state.sampleTable(96, 4), QStringLiteral("y"));
        QVERIFY2(told.startsWith(QStringLiteral("2 samples filled from the clipboard, but not all of the table was pasted")), qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("line 3: the plate ends at well 96")), qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("1 column(s) past the last row")), qPrintable(told));

        QCOMPARE(unanswered(), 0);
    }

    void copyAllComesBackThroughImportAndPaste()
    {
        openPlate();
        clickCell(0, 1);
        press(Qt::Key_A, Qt::ControlModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        const QString original = documentTable(state, u'\t');
        writeBytes(path("copied.txt"), copied.toUtf8());

        press(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(!SampleHasData(state, 12));
        scrollBar()->setValue(50);
        QString summary;
        whenModal(QStringLiteral("ImportPreview"), [&summary](QWidget *preview) {
            summary = text(preview, "importSummary");
            QVERIFY(problems(preview).isEmpty());
            click(preview, "importOk");
        });
        import(path("copied.txt"));
        QCOMPARE(summary, QStringLiteral("Importing fills 29 samples (A12 to D4). "
                                         "Samples the table does not name keep what they hold."));
        QCOMPARE(documentTable(state, u'\t'), original);
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Import Samples"));
        QCOMPARE(status(), QStringLiteral("29 samples imported from copied.txt."));
        QCOMPARE(state.topSample, 12);   // the frames show the first imported sample

        // The same text on the clipboard is no block for the current item:
        // it goes back to its own samples through the same preview.
        QGuiApplication::clipboard()->setText(copied);
        press(Qt::Key_N, Qt::ControlModifier);
        selectItem(70, 2);
        whenModal(QStringLiteral("ImportPreview"), [](QWidget *preview) {
            QVERIFY(text(preview, "importOrigin").startsWith(QStringLiteral("Read from the clipboard as a Copy All text of plate.kwl")));
            click(preview, "importOk");
        });
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(unanswered(), 0);
        QCOMPARE(documentTable(state, u'\t'), original);
        QCOMPARE(undoEntry(), QStringLiteral("&Undo Import Samples"));
    }

    void workbookGoesOutAndComesBack()
    {
        openPlate();
        const QString original = documentTable(state, u'\t');
        whenModal(QStringLiteral("ExportOptions"), [](QWidget *options) { click(options, "exportOk"); });
        dialogs->answers = {path("out.xlsx")};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportXlsx")});
        QCOMPARE(dialogs->requests.last().fileName, QStringLiteral("plate.xlsx"));
        QCOMPARE(status(), QStringLiteral("29 samples exported to %1.").arg(QDir::toNativeSeparators(path("out.xlsx"))));

        press(Qt::Key_N, Qt::ControlModifier);
        whenModal(QStringLiteral("ImportPreview"), [](QWidget *preview) {
            QCOMPARE(text(preview, "importOrigin"), QStringLiteral("Read from out.xlsx as sheet \"Samples\" of a workbook."));
            QVERIFY(problems(preview).isEmpty());
            click(preview, "importOk");
        });
        import(path("out.xlsx"));
        QCOMPARE(unanswered(), 0);
        QCOMPARE(documentTable(state, u'\t'), original);
    }

    void importProblemsShowByLineAndCancelChangesNothing()
    {
        openPlate();
        const QByteArray before = document();
        const QString stepBefore = undoEntry();
        writeBytes(path("problems.csv"),
                   QStringLiteral("Well,Key,Sample ID,Colour,Conc\r\n"
                                  "A1,Blank,S-1,red,1\r\n"
                                  "Z99,,S-2,,2\r\n"
                                  "A3,Mystery,S-3,,3\r\n"
                                  "A4,,\"say \"\"hi\"\"\",,4\r\n"
                                  "A5,,\u03bb-5,,5\r\n").toUtf8());

        whenModal(QStringLiteral("ImportPreview"), [](QWidget *preview) {
            const QStringList listed = problems(preview);
            const QStringList expected{
                "1: column \"Colour\" matches no row caption; it is not imported",
                "3: well Z99 is not on a 96-well plate; the line is skipped",
                "4: key \"Mystery\" matches no key name; it is stored as written",
                "5: a double quote in column \"Sample ID\" is stored as an apostrophe",
                "6: column \"Sample ID\" holds characters a sample file cannot store; each is stored as \"?\""};
            QCOMPARE(listed, expected);
            QCOMPARE(text(preview, "importProblemsTitle"), QStringLiteral("5 problems:"));
            // Naming a free key after the table plans again: that problem goes.
            auto *nameKeys = preview->findChild<QCheckBox *>(QStringLiteral("importNameKeys"));
            QVERIFY(nameKeys->isVisible());
            QTest::mouseClick(nameKeys, Qt::LeftButton, {}, QPoint(8, nameKeys->height() / 2));
            QVERIFY(nameKeys->isChecked());
            QCOMPARE(problems(preview).size(), 4);
            QVERIFY(text(preview, "importSummary").endsWith(QStringLiteral("New key names: key 3 \"Mystery\".")));
            click(preview, "importCancel");
        });
        import(path("problems.csv"));
        QCOMPARE(unanswered(), 0);
        QCOMPARE(document(), before);
        QCOMPARE(undoEntry(), stepBefore);
        QVERIFY(state.keyName[3].isEmpty());

        // A well outside the table that holds the name already, as an
        // earlier import left it, takes the key's colour with the name.
        writeBytes(path("earlier.csv"), QByteArrayLiteral("Well,Key\r\nH12,Mystery\r\n"));
        whenModal(QStringLiteral("ImportPreview"), [](QWidget *preview) { click(preview, "importOk"); });
        import(path("earlier.csv"));
        QCOMPARE(well(96), opaque(ButtonShadowColour));
        const QByteArray earlier = document();

        // Accepted with the key named: one step, which takes the name back too.
        whenModal(QStringLiteral("ImportPreview"), [](QWidget *preview) {
            preview->findChild<QCheckBox *>(QStringLiteral("importNameKeys"))->setChecked(true);
            click(preview, "importOk");
        });
        import(path("problems.csv"));
        QCOMPARE(state.sampleTable(3, 0), QStringLiteral("Mystery"));
        QCOMPARE(state.sampleTable(4, 1), QStringLiteral("say 'hi'"));
        QCOMPARE(state.sampleTable(5, 1), QStringLiteral("?-5"));
        QCOMPARE(state.sampleTable(1, 3), QString());   // the table's missing Volume column leaves it
        QCOMPARE(well(96), opaque(state.keyColor[3]));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document(), earlier);
        QCOMPARE(well(96), opaque(ButtonShadowColour));
        QVERIFY(state.keyName[3].isEmpty());
    }

    // A plate-shaped layout: the preview names each block, where it is in
    // the file and the row it fills.
    void plateGridsShowTheirBlocks()
    {
        openPlate();
        QString origin;
        QStringList blocks;
        whenModal(QStringLiteral("ImportPreview"), [&](QWidget *preview) {
            origin = text(preview, "importOrigin");
            auto *columns = preview->findChild<QTableWidget *>(QStringLiteral("importColumns"));
            for (int row = 0; row < columns->rowCount(); ++row)
                blocks << columns->item(row, 0)->text() + " > " + columns->item(row, 1)->text();
            QVERIFY(problems(preview).isEmpty());
            click(preview, "importOk");
        });
        import(QStringLiteral(TESSAR_PLATES "/keys-and-ids-96.csv"));
        QCOMPARE(unanswered(), 0);
        QCOMPARE(origin, "Read from keys-and-ids-96.csv as CSV (UTF-8), a plate-shaped grid of 2 blocks.");
        QCOMPARE(blocks, QStringList({"Block 1 \"Key\" (lines 1 to 9) > Key", "Block 2 \"Sample ID\" (lines 11 to 19) > Sample ID"}));
        QCOMPARE(QStringList({state.sampleTable(1, 0), state.sampleTable(96, 1), state.sampleTable(13, 1), state.sampleTable(13, 2)}),
                 QStringList({"Blank", "Std 12", "B1-patient", "1,5"}));
    }

    void unusableTablesAreRefused()
    {
        openPlate();
        const QByteArray before = document();
        writeBytes(path("names.csv"), QByteArrayLiteral("Name,Conc\r\nx,1\r\n"));
        whenModal(QStringLiteral("ImportPreview"), [](QWidget *preview) {
            QVERIFY(!preview->findChild<QPushButton *>(QStringLiteral("importOk"))->isVisible());
            QVERIFY(text(preview, "importSummary").contains(QStringLiteral("neither a \"Well\" nor a \"Sample No.\" column")));
            QVERIFY(problems(preview).contains(QStringLiteral("1: the table has neither a \"Well\" nor a \"Sample No.\" column")));
            click(preview, "importCancel");
        });
        import(path("names.csv"));

        QString told;
        whenBox("ImportFailed", &told);
        import(path("missing.csv"));
        QCOMPARE(unanswered(), 0);
        QVERIFY2(told.contains(QDir::toNativeSeparators(path("missing.csv"))), qPrintable(told));
        QCOMPARE(document(), before);
    }

    void exportReadsBackAndAFailedWriteSaysWhy()
    {
        openPlate();
        child<QLineEdit>(QStringLiteral("TxtFileDesc"))->setText(QStringLiteral("Run 7, checked"));
        whenModal(QStringLiteral("ExportOptions"), [](QWidget *options) {
            QVERIFY(options->findChild<QRadioButton *>(QStringLiteral("exportDataOnly"))->isChecked());
            QCOMPARE(options->findChild<QRadioButton *>(QStringLiteral("exportDataOnly"))->text(),
                     QStringLiteral("&Only the samples that hold information (29)"));
            QVERIFY(!(options->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QVERIFY(!options->findChild<QWidget *>(QStringLiteral("exportOwnLetters")));   // no rows past Z on 96 wells
            click(options, "exportOk");
        });
        dialogs->answers = {path("out.csv")};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportCsv")});
        const CommonDialogs::FileRequest asked = dialogs->requests.last();
        QCOMPARE(asked.fileName, QStringLiteral("plate.csv"));
        QCOMPARE(QDir(asked.initDir), QDir(dir.path()));
        QCOMPARE(status(), QStringLiteral("29 samples exported to %1.").arg(QDir::toNativeSeparators(path("out.csv"))));

        QCOMPARE(fileBytes(path("out.csv")).count('\n'), 1 + 29);   // the header and each sample with data

        // JSON of every well, with the description as the box shows it.
        whenModal(QStringLiteral("ExportOptions"), [](QWidget *options) {
            clickButton(options->findChild<QRadioButton *>(QStringLiteral("exportAllWells")));
            click(options, "exportOk");
        });
        dialogs->answers = {path("every.json")};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportJson")});
        const QJsonObject json = QJsonDocument::fromJson(fileBytes(path("every.json"))).object();
        QCOMPARE(json.value(QStringLiteral("samples")).toArray().size(), 96);
        QCOMPARE(json.value(QStringLiteral("fileDesc")).toString(), QStringLiteral("Run 7, checked"));

        // A folder that cannot take the file: told why, nothing written.
        writeBytes(path("blocker"), QByteArrayLiteral("a file, not a folder"));
        const QString target = path("blocker") + QStringLiteral("/out.csv");
        QString told;
        whenModal(QStringLiteral("ExportOptions"), [](QWidget *options) {
            QVERIFY(options->findChild<QRadioButton *>(QStringLiteral("exportAllWells"))->isChecked());   // as last time
            click(options, "exportOk");
        });
        whenBox("ExportFailed", &told);
        dialogs->answers = {target};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportCsv")});
        QCOMPARE(unanswered(), 0);
        QVERIFY2(told.startsWith(QStringLiteral("The samples could not be exported to\n") + QDir::toNativeSeparators(target) + QStringLiteral("\n\n")), qPrintable(told));
        const QString reason = told.section(QStringLiteral("\n\n"), 1, 1);
        QVERIFY2(!reason.trimmed().isEmpty(), qPrintable(told));
        QCOMPARE(fileBytes(path("blocker")), QByteArrayLiteral("a file, not a folder"));

        // On the largest plate rows 27 to 32 go out as AA to AF, or, ticked, as the map names them.
        State big = newPlate(1536);
        big.sampleTable(1536, 1) = QStringLiteral("last");
        open(writePlate(big, path("big.kwl")));
        whenModal(QStringLiteral("ExportOptions"), [](QWidget *options) {
            clickButton(options->findChild<QCheckBox *>(QStringLiteral("exportOwnLetters")));
            click(options, "exportOk");
        });
        dialogs->answers = {path("big.csv")};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportCsv")});
        QVERIFY(fileBytes(path("big.csv")).contains("\r\n`48,1536,,last"));
    }
};

QTEST_MAIN(TestSampleTables)
#include "tst_sampletables.moc"

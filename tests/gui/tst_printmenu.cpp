#include "windowdriver.h"

#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>

using namespace Tessar;

class TestPrintMenu : public QObject, WindowDriver
{
    Q_OBJECT

    // The headings of a PDF's pages in order, "B" for "Column B  Sample No. 1 ".
    static QString columns(const QString &file)
    {
        const QString text = pdfText(file);
        QString found;
        for (const QRegularExpressionMatch &m : QRegularExpression(QStringLiteral("Column (.)\\s+Sample No\\. 1\\b")).globalMatch(text))
            found += m.captured(1);
        return found;
    }

    // Rows A to E hold information: a printout of five pages.
    void fillFiveRows()
    {
        for (int r = 0; r < 5; ++r)
            state.sampleTable(12 * r + 1, 1) = QStringLiteral("row %1").arg(r);
    }

    // Answers the next message box; its title and text go to `told`.
    void expectMessage(const char *name, QString *told)
    {
        whenModal(QLatin1String(name), [told](QWidget *box) {
            *told = box->windowTitle() + QStringLiteral(": ") + qobject_cast<QMessageBox *>(box)->text();
            clickButton(qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok));
        });
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
    }
    void init() { start(); }
    void cleanup() { stop(); }

    void exportSubmenuEndsTheFileMenu()
    {
        QCOMPARE(child<QMenu>("mnuFile")->actions().last()->menu(), child<QMenu>("mnuFileExport"));
        QStringList entries;
        QString keys;
        for (QAction *action : child<QMenu>(QStringLiteral("mnuFileExport"))->actions()) {
            entries << action->objectName() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
            const qsizetype amp = action->text().indexOf(u'&');
            QVERIFY(amp >= 0 && !keys.contains(action->text().at(amp + 1).toLower()));
            keys += action->text().at(amp + 1).toLower();
        }
        QCOMPARE(entries, QStringList({"mnuFileExportCsv", "mnuFileExportJson", "mnuFileExportXlsx", "mnuFileExportImage",
                                       "mnuFileExportPdf", "mnuFilePrintPreview", "mnuFileExportStage"}));
    }

    // Before the module is first looked for: without it nothing is
    // printed or written, the user is told why, and it is found once back.
    void withoutTheModuleTheUserIsTold()
    {
        fillFiveRows();
        const QByteArray modules = qgetenv("TESSAR_MODULE_DIR");
        qputenv("TESSAR_MODULE_DIR", QFile::encodeName(dir.path()));
        QString told;
        expectMessage("PrintFailed", &told);
        press(Qt::Key_P, Qt::ControlModifier);
        QVERIFY2(told.contains(QStringLiteral("tessar-printing.so")), qPrintable(told));
        QVERIFY(dialogs->kinds.isEmpty());
        dialogs->answers = {path("run7.pdf")};
        whenBox("ExportFailed", &told, QMessageBox::Ok);
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportPdf")});
        QVERIFY2(told.contains(QStringLiteral("tessar-printing.so")), qPrintable(told));
        QVERIFY(!QFile::exists(path("run7.pdf")));

        qputenv("TESSAR_MODULE_DIR", modules);
        dialogs->answers = {path("run7.pdf")};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportPdf")});
        QCOMPARE(columns(path("run7.pdf")), QStringLiteral("ABCDE"));
    }

    void printoutAsPdfGoesBesideTheDocument()
    {
        fillFiveRows();
        state.filePath = path("run7.kwl");
        state.fileTitle = QStringLiteral("run7.kwl");
        dialogs->answers = {path("run7.pdf")};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportPdf")});
        QCOMPARE(dialogs->kinds, QStringList{"save"});
        const CommonDialogs::FileRequest asked = dialogs->requests.first();
        QCOMPARE(asked.fileName, QStringLiteral("run7.pdf"));
        QCOMPARE(QDir(asked.initDir), QDir(dir.path()));
        QCOMPARE(columns(path("run7.pdf")), QStringLiteral("ABCDE"));
        QVERIFY(status().contains(QStringLiteral("run7.pdf")));

        // Untitled: named so, in the profile folder. Cancel writes nothing.
        state.filePath.clear();
        state.fileTitle.clear();
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportPdf")});
        QCOMPARE(dialogs->requests.last().fileName, QStringLiteral("Untitled.pdf"));
        QCOMPARE(dialogs->requests.last().initDir, state.profileDir);

        // A file that cannot be written says why and leaves nothing behind.
        QString told;
        expectMessage("ExportFailed", &told);
        dialogs->answers = {path("gone/run7.pdf")};
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportPdf")});
        QVERIFY2(told.startsWith(QStringLiteral("Export Printout as PDF: The printout could not be saved to")), qPrintable(told));
        QVERIFY(!QFileInfo::exists(path("gone")));
    }

    void printingHonoursCopiesAndPageRange()
    {
        fillFiveRows();
        dialogs->printerOutput = path("printed.pdf");
        dialogs->printerCopies = 2;
        dialogs->printFrom = 2;
        dialogs->printTo = 3;
        press(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(dialogs->offeredPages, 5);
        QCOMPARE(columns(dialogs->printerOutput), QStringLiteral("BCBC"));

        // Pages past the end: nothing printed, and the user is told.
        QFile::remove(dialogs->printerOutput);
        dialogs->printFrom = 7;
        dialogs->printTo = 9;
        QString told;
        expectMessage("NothingToPrint", &told);
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFilePrint")});
        QVERIFY2(told.startsWith(QStringLiteral("Print: Nothing was printed: the printout has only 5 pages")), qPrintable(told));
        QVERIFY(!QFile::exists(dialogs->printerOutput));

        // Cancel prints nothing; a printer that cannot start says so.
        dialogs->printFrom = 0;
        dialogs->printerCopies.reset();
        press(Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!QFile::exists(dialogs->printerOutput));
        dialogs->printerCopies = 1;
        dialogs->printerOutput = path("gone/printed.pdf");
        expectMessage("PrintFailed", &told);
        press(Qt::Key_P, Qt::ControlModifier);
        QVERIFY2(told.startsWith(QStringLiteral("Print: The printer could not be started")), qPrintable(told));
    }

    void emptyDocumentIsToldNotAsked()
    {
        const QList<QStringList> commands{{"mnuFile", "mnuFilePrint"},
                                          {"mnuFile", "mnuFileExport", "mnuFileExportPdf"},
                                          {"mnuFile", "mnuFileExport", "mnuFilePrintPreview"}};
        QStringList told;
        for (const QStringList &command : commands) {
            QString title;
            whenBox("NothingToPrint", nullptr, QMessageBox::Ok, &title);
            choose(command);
            told << title;
        }
        QCOMPARE(told, QStringList({"Print", "Export Printout as PDF", "Print Preview"}));
        QVERIFY(dialogs->kinds.isEmpty());
        QCOMPARE(unanswered(), 0);
    }

    void previewShowsThePagesAndPrintsThem()
    {
        fillFiveRows();
        dialogs->printerOutput = path("fromPreview.pdf");
        dialogs->printerCopies = 1;
        dialogs->printFrom = 4;
        dialogs->printTo = 5;
        int shown = 0;
        whenModal(QStringLiteral("PrintPreview"), [&shown](QWidget *widget) {
            auto *preview = qobject_cast<QPrintPreviewDialog *>(widget);
            shown = preview->findChild<QPrintPreviewWidget *>()->pageCount();
            const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
            for (QToolBar *bar : preview->findChildren<QToolBar *>())
                for (QAction *action : bar->actions())
                    if (action->text() == print)
                        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
        });
        choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFilePrintPreview")});
        QCOMPARE(shown, 5);
        QCOMPARE(dialogs->kinds, QStringList{"printer"});
        QCOMPARE(columns(dialogs->printerOutput), QStringLiteral("DE"));
    }
};

QTEST_MAIN(TestPrintMenu)
#include "tst_printmenu.moc"

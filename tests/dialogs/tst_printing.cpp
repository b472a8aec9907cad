#include "reports/printing.h"

#include "fakedialogs.h"

#include "core/document.h"
#include "core/state.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Tessar;

class TestPrinting : public QObject
{
    Q_OBJECT

    State state;
    QTemporaryDir dir;

    // Prints one copy to a PDF file and reads its text back, blanks made single;
    // each page ends in a form feed.
    QString printed(const QString &name, PrintResult *result = nullptr)
    {
        const QString file = dir.filePath(name);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        const PrintResult r = renderPrintout(printer, printoutPages(state), 1);
        if (result)
            *result = r;
        return readBack(file);
    }

    static QString readBack(const QString &file)
    {
        if (!QFile::exists(file))
            return QString();
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput())
            .replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
    }

    void init()
    {
        state = State();
        applyFirstRunDefaults(state);
        newDocument(state);
        state.fileTitle = QStringLiteral("plate.kwl");
    }

    void emptyDocumentPrintsNoPage()
    {
        PrintResult result;
        QCOMPARE(printed(QStringLiteral("empty.pdf"), &result), QString());
        QCOMPARE(result.outcome, PrintResult::NothingToPrint);
    }

    void oneRowOfDataPrintsOnePage()
    {
        state.sampleTable(13, 0) = QStringLiteral("Blank");
        state.sampleTable(14, 3) = QStringLiteral("lot 42");
        const QString text = printed(QStringLiteral("one.pdf"));
        QCOMPARE(text.count(QLatin1Char('\f')), 1);
        const QRegularExpression page(
            QStringLiteral("FileName: plate.kwl.*Column B Sample No. ?1.*KeyBlank.*No. ?2.*description4lot 42"),
            QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(page.match(text).hasMatch(), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("No. 3")));
    }

    void printCommandMakesEveryCopyCompleteAndCancelPrintsNothing()
    {
        state.sampleTable(2, 1) = QStringLiteral("a");
        state.sampleTable(90, 1) = QStringLiteral("h");
        FakeDialogs fake;
        fake.printerOutput = dir.filePath(QStringLiteral("copies.pdf"));
        printDocument(nullptr, state);
        QVERIFY(!QFile::exists(fake.printerOutput));

        fake.printerCopies = 2;
        printDocument(nullptr, state);
        const QString text = readBack(fake.printerOutput);
        QCOMPARE(text.count(QLatin1Char('\f')), 4);
        QVERIFY(QRegularExpression(QStringLiteral("Column A.*Column H.*Column A.*Column H"),
                                   QRegularExpression::DotMatchesEverythingOption).match(text).hasMatch());
    }

    void longRowContinuesOnTheNextSheet()
    {
        state.wellCount = 384;
        state.numField = 10;
        newDocument(state);
        for (int s = 1; s <= 24; ++s)
            state.sampleTable(s, 1) = QStringLiteral("x%1").arg(s);
        PrintResult result;
        const QString text = printed(QStringLiteral("long.pdf"), &result);
        QVERIFY(result.pagesStarted > 1);
        QCOMPARE(text.count(QLatin1Char('\f')), result.pagesStarted);
        QVERIFY(text.contains(QStringLiteral("x24")));
    }

    void unwritableOutputIsReported()
    {
        state.sampleTable(1, 1) = QStringLiteral("a");
        QPrinter printer;
        printer.setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/out.pdf")));
        QCOMPARE(renderPrintout(printer, printoutPages(state), 1).outcome, PrintResult::CouldNotStart);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"

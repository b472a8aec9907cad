#include "reports/printing.h"
#include "fakedialogs.h"

#include "core/document.h"

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

    // The text of a printed PDF, blanks made single; each page ends in a form feed.
    QString readBack(const QString &name) const
    {
        if (!QFile::exists(dir.filePath(name)))
            return QString();
        QProcess process;
        process.start("pdftotext", {dir.filePath(name), "-"});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).replace(QRegularExpression("[ \\t]+"), " ");
    }

    PrintResult print(const QString &name)
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        return renderPrintout(printer, printoutPages(state), 1);
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
    }

    void init()
    {
        state = State();
        applyFirstRunDefaults(state);
        newDocument(state);
        state.fileTitle = "plate.kwl";
    }

    void onlySamplesWithDataArePrinted()
    {
        QCOMPARE(print("empty.pdf").outcome, PrintResult::NothingToPrint);
        QCOMPARE(readBack("empty.pdf"), QString());

        state.sampleTable(13, 0) = "Blank";
        state.sampleTable(14, 3) = "lot 42";
        print("one.pdf");
        const QString text = readBack("one.pdf");
        QCOMPARE(text.count('\f'), 1);
        QVERIFY2(text.contains("KeyBlank") && text.contains("description4lot 42") && !text.contains("No. 3"), qPrintable(text));
        QCOMPARE(print("no/such/folder/out.pdf").outcome, PrintResult::CouldNotStart);
    }

    void printCommandMakesEveryCopyCompleteAndCancelPrintsNothing()
    {
        state.sampleTable(2, 1) = "a";
        state.sampleTable(90, 1) = "h";
        FakeDialogs fake;
        fake.printerOutput = dir.filePath("copies.pdf");
        printDocument(nullptr, state);
        QVERIFY(!QFile::exists(fake.printerOutput));

        fake.printerCopies = 2;
        printDocument(nullptr, state);
        const QString text = readBack("copies.pdf");
        QCOMPARE(text.count('\f'), 4);
        QVERIFY(QRegularExpression("Column A.*Column H.*Column A.*Column H", QRegularExpression::DotMatchesEverythingOption)
                    .match(text).hasMatch());
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"

#include "../testfiles.h"

#include "reports/printoutpdf.h"
#include "reports/printoutrenderer.h"

#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Tessar;

// What the printer and the PDF writer make of the printout's pages. The
// pages themselves, and the PDF line for line, are checked with the
// printout rules and through tessar-kwl.
class TestPrinting : public QObject
{
    Q_OBJECT

    State state;
    QTemporaryDir dir;

    PrintResult print(const QString &name)
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        return renderPrintout(printer, printoutPages(state));
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
    }

    void init()
    {
        state = newPlate();
        state.fileTitle = "plate.kwl";
    }

    // Nothing to print, a printer that cannot start and a file that cannot
    // be written are each said, and leave no file behind.
    void failuresSayWhyAndLeaveNoFile()
    {
        QCOMPARE(print("empty.pdf").outcome, PrintResult::NothingToPrint);
        QString error;
        QVERIFY(!writePrintoutPdf(state, dir.filePath("empty.pdf"), &error));
        QVERIFY(error.contains("nothing to print"));
        QVERIFY(!QFile::exists(dir.filePath("empty.pdf")));

        state.sampleTable(5, 1) = "x";
        QCOMPARE(print("no/such/folder/out.pdf").outcome, PrintResult::CouldNotStart);
        error.clear();
        QVERIFY(!writePrintoutPdf(state, dir.path(), &error));   // a folder is no file
        QVERIFY(!error.isEmpty());
        QVERIFY(!writePrintoutPdf(state, dir.filePath("missing/out.pdf"), nullptr));
        QVERIFY(!QFile::exists(dir.filePath("missing")));
    }

    void longValuesWrapInsideTheMargins()
    {
        QString words;
        for (int i = 0; words.size() < 2000; ++i)
            words += "w" + QString::number(i) + " ";
        words.truncate(2000);
        state.sampleTable(1, 1) = words;
        state.sampleTable(2, 1) = QString(2000, 'q');
        state.sampleTable(3, 1) = "first flask, official buffer";
        QString error;
        const QString file = dir.filePath("long.pdf");
        QVERIFY2(writePrintoutPdf(state, file, &error), qPrintable(error));

        const QString text = pdfText(file);
        QString flat = text;
        flat.remove(QRegularExpression("\\s"));
        QVERIFY(flat.contains("description2" + words.remove(' ')));
        QVERIFY(flat.contains("description2" + QString(2000, 'q')));
        QVERIFY(text.count('\n') > 40);
        QVERIFY2(text.contains("first flask, official buffer"), "ligatures would turn fi, fl and ffi into glyphs a search misses");

        // Every word lies at least 15 mm (42.5 pt) inside the paper's edges.
        const QString boxes = pdfText(file, {"-bbox"});
        const QRegularExpressionMatch paper = QRegularExpression("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\"").match(boxes);
        QVERIFY(paper.hasMatch());
        const double width = paper.captured(1).toDouble();
        const double height = paper.captured(2).toDouble();
        int checked = 0;
        const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\"");
        for (const QRegularExpressionMatch &m : word.globalMatch(boxes)) {
            QVERIFY2(m.captured(1).toDouble() >= 42.4 && m.captured(2).toDouble() >= 42.4, qPrintable(m.captured(0)));
            QVERIFY2(m.captured(3).toDouble() <= width - 42.4 && m.captured(4).toDouble() <= height - 42.4, qPrintable(m.captured(0)));
            ++checked;
        }
        QVERIFY(checked > 300);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"

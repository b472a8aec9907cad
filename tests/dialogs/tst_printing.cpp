#include "reports/printoutpdf.h"
#include "reports/printoutrenderer.h"

#include "core/document.h"
#include "core/state.h"

#include <QFile>
#include <QPrinter>
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

    QString pdftotext(const QString &name, const QStringList &options = {}) const
    {
        if (!QFile::exists(dir.filePath(name)))
            return QString();
        QProcess process;
        process.start("pdftotext", options + QStringList{dir.filePath(name), "-"});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The text of a printed PDF, blanks made single; each page ends in a form feed.
    QString readBack(const QString &name) const
    {
        return pdftotext(name).replace(QRegularExpression("[ \\t]+"), " ");
    }

    // Lines that hold something, each with its blanks made single and its
    // ligatures ("fi" set as one letter) spelt out.
    static QStringList visibleLines(const QStringList &lines)
    {
        QStringList visible;
        for (const QString &line : lines) {
            const QString text = line.normalized(QString::NormalizationForm_KC).simplified();
            if (!text.isEmpty())
                visible << text;
        }
        return visible;
    }

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

    void pdfHoldsThePrintoutLineForLine()
    {
        state.keyName[2] = state.sampleTable(1, 0) = "Sample";
        state.sampleTable(1, 1) = "S-01  first   of the run";
        state.sampleTable(40, 4) = "5 mg";
        state.sampleTable(96, 0) = "Blank";
        const std::vector<PrintPage> pages = printoutPages(state);
        QCOMPARE(pages.size(), std::size_t(3));

        const QString path = dir.filePath("export.pdf");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100000, 'x')) > 0);
        old.close();
        QString error;
        QVERIFY2(writePrintoutPdf(state, path, &error), qPrintable(error));

        const QStringList printed = pdftotext("export.pdf").split('\f');
        QCOMPARE(printed.size(), int(pages.size()) + 1);   // after the last form feed: nothing
        for (std::size_t p = 0; p < pages.size(); ++p) {
            QStringList lines;
            for (const PrintLine &line : pages[p])
                lines << line.text;
            QCOMPARE(visibleLines(printed[qsizetype(p)].split('\n')), visibleLines(lines));
        }
    }

    void pdfFailuresSayWhyAndLeaveNoFile()
    {
        QString error;
        QVERIFY(!writePrintoutPdf(state, dir.filePath("empty.pdf"), &error));
        QVERIFY(error.contains("nothing to print"));
        QVERIFY(!QFile::exists(dir.filePath("empty.pdf")));

        state.sampleTable(5, 1) = "x";
        error.clear();
        QVERIFY(!writePrintoutPdf(state, dir.path(), &error));   // a folder is no file
        QVERIFY(!error.isEmpty());
        QVERIFY(!writePrintoutPdf(state, dir.filePath("missing/out.pdf"), nullptr));
    }

    void longValuesWrapInsideTheMargins()
    {
        QString words;
        for (int i = 0; words.size() < 2000; ++i)
            words += "w" + QString::number(i) + " ";
        words.truncate(2000);
        state.sampleTable(1, 1) = words;
        state.sampleTable(2, 1) = QString(2000, 'q');
        QString error;
        QVERIFY2(writePrintoutPdf(state, dir.filePath("long.pdf"), &error), qPrintable(error));

        const QString text = pdftotext("long.pdf");
        QString flat = text;
        flat.remove(QRegularExpression("\\s"));
        QString wordsFlat = words;
        wordsFlat.remove(' ');
        QVERIFY(flat.contains("description2" + wordsFlat));
        QVERIFY(flat.contains("description2" + QString(2000, 'q')));
        QVERIFY(text.count('\n') > 40);

        // Every word lies at least 15 mm (42.5 pt) inside the paper's edges.
        const QString boxes = pdftotext("long.pdf", {"-bbox"});
        const QRegularExpression page("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\"");
        const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\"");
        const QRegularExpressionMatch paper = page.match(boxes);
        QVERIFY(paper.hasMatch());
        const double width = paper.captured(1).toDouble();
        const double height = paper.captured(2).toDouble();
        int checked = 0;
        for (const QRegularExpressionMatch &m : word.globalMatch(boxes)) {
            QVERIFY2(m.captured(1).toDouble() >= 42.4 && m.captured(2).toDouble() >= 42.4, qPrintable(m.captured(0)));
            QVERIFY2(m.captured(3).toDouble() <= width - 42.4 && m.captured(4).toDouble() <= height - 42.4,
                     qPrintable(m.captured(0)));
            ++checked;
        }
        QVERIFY(checked > 300);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"

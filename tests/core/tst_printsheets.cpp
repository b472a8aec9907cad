#include "core/reports/pageselection.h"
#include "core/reports/printsheets.h"

#include <QTest>

using namespace Tessar;

namespace {

// Every character one unit wide, bold ones a little wider.
double width(const QString &text, bool bold = false)
{
    return text.size() * (bold ? 1.5 : 1.0);
}

QStringList wrap(const QString &text, double lineWidth, double indent = 0)
{
    return wrapText(text, lineWidth, indent, [](const QString &t) { return width(t); });
}

QStringList texts(const Sheet &sheet)
{
    QStringList lines;
    for (const SheetLine &line : sheet)
        lines << (line.continued ? QStringLiteral("> ") : QString()) + line.text + (line.bold ? QStringLiteral(" [b]") : QString());
    return lines;
}

} // namespace

class TestPrintSheets : public QObject
{
    Q_OBJECT

private slots:
    void wrapsAtWordsAndBreaksWordsLongerThanTheLine()
    {
        QCOMPARE(wrap("description2 short", 40), QStringList({"description2 short"}));
        QCOMPARE(wrap("", 40), QStringList({""}));
        // Continued lines have the indent less room; blanks at a break go.
        QCOMPARE(wrap("one two  three four", 9, 2), QStringList({"one two", "three", "four"}));
        QCOMPARE(wrap("abcdefghijkl mn", 5, 1), QStringList({"abcde", "fghi", "jkl", "mn"}));
        // A blank just past the room still ends the line at its word.
        QCOMPARE(wrap("abcde fgh", 5), QStringList({"abcde", "fgh"}));
        // A no-break space holds its words together.
        QCOMPARE(wrap(QString::fromUtf8("ab\xC2\xA0" "cdef"), 5), QStringList({QString::fromUtf8("ab\xC2\xA0" "cd"), "ef"}));
        // Leading blanks stay with the first word.
        QCOMPARE(wrap("   abcdef", 5), QStringList({"   ab", "cdef"}));
        // Line breaks in the value start new lines, empty ones too.
        QCOMPARE(wrap("a\r\nb\n\nc\rd", 10), QStringList({"a", "b", "", "c", "d"}));
        // A room too small for one character still gets one per line.
        QCOMPARE(wrap("abc", 0), QStringList({"a", "b", "c"}));
        QCOMPARE(wrap("abc", 2, 5), QStringList({"ab", "c"}));
        // A character outside the basic plane, or an accent, is never split.
        const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");
        QCOMPARE(wrap("ab" + clef + "cd", 3), QStringList({"ab", clef + "c", "d"}));
        QCOMPARE(wrap(QString::fromUtf8("abe\xCC\x81z"), 3), QStringList({"ab", QString::fromUtf8("e\xCC\x81z")}));
    }

    void longValuesKeepEveryCharacter()
    {
        QString words;
        for (int i = 0; words.size() < 10000; ++i)
            words += QString::number(i * 7919) + u' ';
        words = words.trimmed();
        const QStringList lines = wrap(words, 80, 4);
        QCOMPARE(lines.join(u' '), words);
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY(width(lines[i]) <= (i == 0 ? 80 : 76));

        const QString word(10000, u'x');
        const QStringList pieces = wrap(word, 80, 4);
        QCOMPARE(pieces.join(QString()), word);
        QCOMPARE(pieces.size(), 1 + (10000 - 80 + 75) / 76);
    }

    void pagesStartSheetsAndOverflowOntoTheNext()
    {
        const std::vector<PrintPage> pages{
            {{"FileName: a.kwl", true}, {" ", false}, {"Keyvery long value here", false}},
            {{"FileName: a.kwl", true}, {"Key", false}},
        };
        SheetRoom room;
        room.lineWidth = 16;
        room.indent = 2;
        room.linesPerSheet = 3;
        const std::vector<Sheet> sheets = layoutSheets(pages, room, width);
        QCOMPARE(sheets.size(), std::size_t(3));
        // The bold heading is measured in bold: 15 letters at 1.5 need two lines.
        QCOMPARE(texts(sheets[0]), QStringList({"FileName: [b]", "> a.kwl [b]", " "}));
        QCOMPARE(texts(sheets[1]), QStringList({"Keyvery long", "> value here"}));
        QCOMPARE(texts(sheets[2]), QStringList({"FileName: [b]", "> a.kwl [b]", "Key"}));

        room.linesPerSheet = 0;   // a sheet shorter than a line still takes one
        QCOMPARE(layoutSheets(pages, room, width).size(), std::size_t(8));
        QVERIFY(layoutSheets({}, room, width).empty());
    }

    void pageRangesPickSheetsOfEveryCopy()
    {
        using Sheets = std::vector<int>;
        QCOMPARE(sheetsToPrint(3, 1, {}), Sheets({0, 1, 2}));
        QCOMPARE(sheetsToPrint(5, 2, {{2, 3}}), Sheets({1, 2, 1, 2}));
        QCOMPARE(sheetsToPrint(5, 1, {{4, 9}}), Sheets({3, 4}));
        QCOMPARE(sheetsToPrint(5, 1, {{1, 1}, {5, 5}, {1, 2}}), Sheets({0, 1, 4}));
        QVERIFY(sheetsToPrint(5, 1, {{7, 9}}).empty());
        QVERIFY(sheetsToPrint(5, 1, {{3, 2}}).empty());
        QVERIFY(sheetsToPrint(5, 0, {}).empty());
        QVERIFY(sheetsToPrint(0, 3, {}).empty());
        QCOMPARE(sheetsToPrint(1, 1000000, {}).size(), std::size_t(MaxCopies));
    }
};

QTEST_GUILESS_MAIN(TestPrintSheets)
#include "tst_printsheets.moc"

#include "core/document.h"
#include "core/editing.h"
#include "core/listing.h"
#include "core/printout.h"
#include "core/search.h"
#include "core/state.h"

#include <QTest>

using namespace Tessar;

// A fresh untitled document, five rows per sample, three frames from sample 1.
static State freshDocument(int wells = 96)
{
    State state;
    applyFirstRunDefaults(state);
    state.wellCount = wells;
    newDocument(state);
    state.nFrames = 3;
    return state;
}

static void putSample(State &state, int s, const QStringList &rows)
{
    for (int f = 0; f < rows.size(); ++f)
        state.sampleTable(s, f) = rows.at(f);
}

static QStringList linesOf(const PrintPage &page, bool boldOnly)
{
    QStringList lines;
    for (const PrintLine &line : page) {
        if (line.bold || !boldOnly)
            lines << line.text;
    }
    return lines;
}

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void fillDownKeyRules();
    void fillStopsAtLastSample();
    void copyAllText();
    void typingRules();
    void pagingAndAdvance();
    void searchStartsAndRestarts();
    void findNext();
    void listingOfOneKey();
    void listingOfAllKeys();
    void printoutOfTwoSamples();
    void printoutOfKeyOnlySamples();
};

void TestEditing::fillDownKeyRules()
{
    State st = freshDocument();
    putSample(st, 5, {"Blank", "", "x", "", "", "slot after the rows"});
    putSample(st, 6, {"Control", "kept"});
    st.topSample = 4;
    st.curGrid = 1;
    st.curRow = 2;

    // A target with a key keeps it; one without takes the source's.
    const FillResult r = fillDownItem(st, fillCount(2));
    QCOMPARE(r.first, 6);
    QCOMPARE(r.last, 7);
    QVERIFY(r.hasData);
    QCOMPARE(st.sampleTable(6, 0) + st.sampleTable(6, 2), "Controlx");
    QCOMPARE(st.sampleTable(7, 0) + st.sampleTable(7, 2), "Blankx");
    QCOMPARE(st.sampleTable(8, 2), "");

    st.curRow = 0; // filling the key row itself overwrites keys
    fillDownItem(st, 1);
    QCOMPARE(st.sampleTable(6, 0), "Blank");

    // Fill all overwrites every row, the slot after them included, also with empty texts.
    fillDownAll(st, 1);
    for (int f = 0; f <= 5; ++f)
        QCOMPARE(st.sampleTable(6, f), st.sampleTable(5, f));
    st.topSample = 10;
    st.curGrid = 0;
    st.sampleTable(11, 1) = "gone";
    QVERIFY(!fillDownAll(st, 1).hasData);
    QCOMPARE(st.sampleTable(11, 1), "");
}

void TestEditing::fillStopsAtLastSample()
{
    State st = freshDocument();
    st.topSample = 93;
    st.curRow = 1;
    st.sampleTable(93, 1) = "x";
    st.sampleTable(97, 1) = "past the plate";
    const FillResult r = fillDownItem(st, fillCount(4));
    QCOMPARE(r.last - r.first, 2);
    QCOMPARE(st.sampleTable(96, 1), "x");
    QCOMPARE(st.sampleTable(97, 1), "past the plate");

    // From a frame beyond the plate nothing is filled, and no count is too big.
    st.topSample = 96;
    st.curGrid = 9;
    QVERIFY(fillDownAll(st, fillCount(7)).isEmpty());
    st.curGrid = 0;
    QVERIFY(fillDownItem(st, 2147483647).isEmpty());
    QCOMPARE(fillCaption(1) + "|" + fillCaption(7) + "|" + fillCaption(8), "1 Sample|40 Samples|");
}

void TestEditing::copyAllText()
{
    State st = freshDocument();
    st.numField = 3;
    st.fileTitle = "plate.kwl";
    putSample(st, 3, {"Blank", "one", ""});
    putSample(st, 12, {"", "", "twelve"});
    st.sampleTable(20, 3) = "outside the rows in use";
    QCOMPARE(Tessar::copyAllText(st),
             "Filename: plate.kwl\r\n"
             "Sample No.\tKey\tdescription2\tdescription3\t\r\n"
             "3\tBlank\tone\t\t\r\n"
             "12\t\t\ttwelve\t\r\n");
}

void TestEditing::typingRules()
{
    State st = freshDocument();
    st.topSample = 10;
    st.sampleTable(12, 0) = "Blank";
    QVERIFY(typeCharacter(st, 2, 1, QLatin1Char('A')));
    QVERIFY(typeCharacter(st, 2, 1, QLatin1Char('b')));
    for (const char16_t c : {u'"', u'\u00b0', u'\u00e9', u'\x7f', u'\r'})
        QVERIFY(!typeCharacter(st, 2, 1, QChar(c)));
    QVERIFY(!typeCharacter(st, 2, 0, QLatin1Char('x')));
    QVERIFY(!eraseLastCharacter(st, 2, 0));
    QVERIFY(!eraseCell(st, 2, 0));
    QCOMPARE(st.sampleTable(12, 0) + st.sampleTable(12, 1), "BlankAb");
    QVERIFY(eraseLastCharacter(st, 2, 1) && eraseLastCharacter(st, 2, 1));
    QVERIFY(!eraseLastCharacter(st, 2, 1));

    // Frames past the end of the plate are usable; grids that do not exist are not.
    st.topSample = 96;
    QVERIFY(typeCharacter(st, 9, 4, QLatin1Char('z')));
    QCOMPARE(st.sampleTable(105, 4), "z");
    QVERIFY(!typeCharacter(st, 10, 1, QLatin1Char('z')));
}

void TestEditing::pagingAndAdvance()
{
    State st = freshDocument(24);
    st.nFrames = 4;
    st.topSample = 20;
    QCOMPARE(scrolledTop(st, ScrollKey::PageDown), 20);
    QCOMPARE(scrolledTop(st, ScrollKey::PageUp), 19);
    st.topSample = 1;
    QCOMPARE(scrolledTop(st, ScrollKey::PageUp), 1);
    QCOMPARE(scrolledTop(st, ScrollKey::End), 20);
    st.nFrames = 0;
    QCOMPARE(scrolledTop(st, ScrollKey::End), 24);
    st.wellCount = 0; // no plate laid out yet
    QCOMPARE(scrolledTop(st, ScrollKey::End), 1);

    // {nFrames, top, frame, row} -> {top, frame, row, refill}
    const int cases[][8] = {
        {3, 1, 0, 2, 1, 0, 3, 0},   // next field
        {3, 1, 0, 4, 1, 1, 1, 0},   // next frame, past its key row
        {3, 1, 2, 4, 4, 0, 1, 1},   // last frame: one page on
        {3, 92, 2, 4, 95, 0, 1, 1}, // the last full page
        {3, 93, 2, 4, 1, 0, 1, 1},  // no full page left: back to sample 1
        {0, 50, 0, 4, 51, 0, 1, 1}, // no frame shown: a page is one sample
    };
    st = freshDocument();
    for (const auto &c : cases) {
        st.nFrames = c[0];
        st.topSample = c[1];
        const Advance a = advance(st, c[2], c[3]);
        QCOMPARE(QList<int>({a.topSample, a.frame, a.row, int(a.refill)}), QList<int>({c[4], c[5], c[6], c[7]}));
    }
}

void TestEditing::searchStartsAndRestarts()
{
    State st = freshDocument();
    putSample(st, 4, {"", "ABC", "xabc"});
    st.sampleTable(5, 0) = "abc";
    st.sampleTable(1, 0) = "first key";
    st.topSample = 3;
    st.curGrid = 2;
    st.curRow = 3;

    // The key row of the first sample searched is passed over until the restart.
    int asked = 0;
    SearchHit hit = runSearch(st, "abc", findStart(st), [&] { ++asked; return true; });
    QCOMPARE(asked, 1);
    QCOMPARE(QList<int>({hit.sample, hit.field, st.topSample, st.curGrid, st.curRow}), QList<int>({5, 0, 5, 0, 0}));

    // The key row of sample 1 is never searched; giving up changes nothing.
    st.topSample = 40;
    st.curGrid = 1;
    st.curRow = 2;
    asked = 0;
    hit = runSearch(st, "first key", findStart(st), [&] { return ++asked < 3; });
    QVERIFY(!hit.found);
    QCOMPARE(QList<int>({asked, st.topSample, st.curGrid, st.curRow}), QList<int>({3, 40, 1, 2}));
}

void TestEditing::findNext()
{
    State st = freshDocument();
    putSample(st, 7, {"", "twin", "twin"});
    st.sampleTable(96, 0) = "twin";
    st.sampleTable(97, 1) = "twin";
    runSearch(st, "twin", findStart(st), {});
    QCOMPARE(st.topSample, 7);
    QCOMPARE(runSearch(st, "twin", findNextStart(st), {}).sample, 96);

    // Past the last sample Find Next stops one beyond the plate and finds nothing there.
    st.curGrid = 9;
    const SearchStart from = findNextStart(st);
    QCOMPARE(from.topSample, 97);
    QVERIFY(!SearchSamples(st, "twin", from).found);
    st.topSample = 97;
    QCOMPARE(findNextStart(st).topSample, 97);
}

void TestEditing::listingOfOneKey()
{
    State st = freshDocument();
    st.numField = 3;
    st.keyName[4] = "Blank";
    putSample(st, 15, {"Blank", "first", ""});
    putSample(st, 16, {"Blank2", "not this one"});
    KeyListing listing = listSamplesByKey(st, "Blank");
    QCOMPARE(listing.text, "Column B Sample No. 3\r\ndescription2  first\r\ndescription3  \r\n\r\n");
    QCOMPARE(listing.status, "1 Sample");

    st.sampleTable(2, 0) = "Blank"; // listed first: plate order
    listing = listSamplesByKey(st, "Blank");
    QVERIFY(listing.text.startsWith("Column A Sample No. 2\r\n"));
    QCOMPARE(listing.status, "2 Samples");
}

void TestEditing::listingOfAllKeys()
{
    State st = freshDocument();
    st.sampleTable(3, 1) = "no key";
    QCOMPARE(listingChoices(st), QStringList({"All"}));
    QCOMPARE(listSamplesByKey(st, "All").status, "No Samples");
    QCOMPARE(listSamplesByKey(st, "").text, ""); // a typed empty choice names no key

    st.keyName[1] = "Blank";
    st.keyName[3] = "Sample";
    for (int s : {1, 50, 96, 97})
        st.sampleTable(s, 0) = "Blank";
    st.sampleTable(60, 0) = "Renamed";
    QCOMPARE(listingChoices(st), QStringList({"All", "Blank", "Sample"}));
    KeyListing all = listSamplesByKey(st, "All");
    QCOMPARE(all.text, "3 samples for Blank\r\n0 samples for Sample\r\n");
    QCOMPARE(all.status, "3 Samples");
    QCOMPARE(listSamplesByKey(st, "Renamed").status, "No Samples");

    // Keys sharing a name each count every sample with it.
    st.keyName[5] = "Blank";
    all = listSamplesByKey(st, "All");
    QCOMPARE(all.text, "3 samples for Blank\r\n0 samples for Sample\r\n3 samples for Blank\r\n");
    QCOMPARE(all.status, "6 Samples");
}

void TestEditing::printoutOfTwoSamples()
{
    State st = freshDocument();
    QVERIFY(printoutPages(st).empty());

    st.fileTitle = "run.kwl";
    putSample(st, 13, {"Blank", "a", "", "", "d"});
    putSample(st, 14, {"", "", "c"});
    const std::vector<PrintPage> pages = printoutPages(st);
    QCOMPARE(pages.size(), std::size_t(1));
    QStringList expected{"FileName: run.kwl", " ",
                         "Column B  Sample No. 1 ", "KeyBlank", "description2a", "description3", "description4", "description5d", " ",
                         "Column B  Sample No. 2 ", "Key", "description2", "description3c", "description4", "description5", " "};
    for (int c = 3; c <= 12; ++c)
        expected << " ";
    QCOMPARE(linesOf(pages.front(), false), expected);
    QCOMPARE(linesOf(pages.front(), true), QStringList({"FileName: run.kwl", "Column B  Sample No. 1 ", "Column B  Sample No. 2 "}));
}

void TestEditing::printoutOfKeyOnlySamples()
{
    // The key alone counts as information; rows past Z go on through the character set.
    State st = freshDocument(1536);
    st.sampleTable(1536, 0) = "Blank";
    st.sampleTable(1537, 1) = "past the plate";
    st.sampleTable(5, 5) = "outside the rows in use";
    const std::vector<PrintPage> pages = printoutPages(st);
    QCOMPARE(pages.size(), std::size_t(1));
    QCOMPARE(linesOf(pages.front(), true).last(), "Column `  Sample No. 48 ");
    QCOMPARE(pages.front().size(), std::size_t(2 + 48 + 1 + 5));
}

QTEST_GUILESS_MAIN(TestEditing)
#include "tst_editing.moc"

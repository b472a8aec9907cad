#include "core/document/document.h"
#include "core/editing/editing.h"
#include "core/reports/listing.h"
#include "core/reports/printout.h"
#include "core/editing/search.h"
#include "core/document/state.h"

#include <QTest>

#include <array>

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

class TestEditing : public QObject
{
    Q_OBJECT

    // The texts of a page, or of its bold lines only.
    static QStringList linesOf(const PrintPage &page, bool boldOnly = false)
    {
        QStringList lines;
        for (const PrintLine &line : page)
            if (line.bold || !boldOnly)
                lines << line.text;
        return lines;
    }

private slots:
    void fillDown()
    {
        State st = freshDocument();
        putSample(st, 5, {"Blank", "", "x", "", "", "slot after the rows"});
        putSample(st, 6, {"Control", "kept"});
        st.topSample = 4;
        st.curGrid = 1;
        st.curRow = 2;

        // A target with a key keeps it; one without takes the source's.
        const FillResult r = fillDownItem(st, 2);
        QCOMPARE(QList<int>({r.first, r.last, int(r.hasData)}), QList<int>({6, 7, 1}));
        QCOMPARE(st.sampleTable(6, 0) + st.sampleTable(6, 2) + st.sampleTable(7, 0) + st.sampleTable(7, 2) + st.sampleTable(8, 2),
                 "ControlxBlankx");
        st.curRow = 0; // filling the key row itself overwrites keys
        fillDownItem(st, 1);
        QCOMPARE(st.sampleTable(6, 0), "Blank");

        // Fill all overwrites every row and the slot after them, empty texts too.
        fillDownAll(st, 1);
        for (int f = 0; f <= 5; ++f)
            QCOMPARE(st.sampleTable(6, f), st.sampleTable(5, f));

        // Never past the last sample, nor from a frame beyond the plate.
        st.topSample = 93;
        st.curGrid = 0;
        st.curRow = 1;
        st.sampleTable(93, 1) = "x";
        st.sampleTable(97, 1) = "past the plate";
        QVERIFY(fillDownItem(st, 40).last == 96 && st.sampleTable(97, 1) == "past the plate");
        st.topSample = 96;
        QVERIFY(fillDownItem(st, 2147483647).isEmpty());
        st.curGrid = 9;
        QVERIFY(fillDownAll(st, 40).isEmpty());
    }

    void copyAllText()
    {
        State st = freshDocument();
        st.numField = 3;
        st.fileTitle = "plate.kwl";
        putSample(st, 3, {"Blank", "one", ""});
        putSample(st, 12, {"", "", "twelve"});
        st.sampleTable(20, 3) = "outside the rows in use";
        st.sampleTable(0, 1) = "slot 0";
        QCOMPARE(Tessar::copyAllText(st), "Filename: plate.kwl\r\n"
                                          "Sample No.\tKey\tdescription2\tdescription3\t\r\n"
                                          "0\t\tslot 0\t\t\r\n"
                                          "3\tBlank\tone\t\t\r\n"
                                          "12\t\t\ttwelve\t\r\n");

        // Delete All empties the slot after the rows as well.
        st.topSample = 20;
        st.curGrid = 0;
        QVERIFY(deleteAllItems(st) && st.sampleTable(20, 3).isEmpty());
    }

    void typingAndMoving()
    {
        State st = freshDocument();
        st.topSample = 10;
        st.sampleTable(12, 0) = "Blank";
        QVERIFY(typeCharacter(st, 2, 1, 'A'));
        for (const char16_t c : {u'"', u'\u00e9', u'\x7f', u'\r'})
            QVERIFY(!typeCharacter(st, 2, 1, QChar(c)));
        QVERIFY(!typeCharacter(st, 2, 0, 'x') && !eraseLastCharacter(st, 2, 0) && !eraseCell(st, 2, 0));
        QCOMPARE(st.sampleTable(12, 0) + st.sampleTable(12, 1), "BlankA");
        QVERIFY(eraseLastCharacter(st, 2, 1) && !eraseLastCharacter(st, 2, 1));
        // Frames past the end of the plate are usable; grids that do not exist are not.
        st.topSample = 96;
        QVERIFY(typeCharacter(st, 9, 4, 'z') && !typeCharacter(st, 10, 1, 'z'));
        QCOMPARE(st.sampleTable(105, 4), "z");

        st.wellCount = 0; // no plate laid out yet
        QCOMPARE(scrolledTop(st, ScrollKey::End), 1);

        // Enter on the last row of the last frame goes a page on, to the last
        // full page at most, else back to sample 1; with no frame a page is one sample.
        st = freshDocument();
        for (const auto &[frames, top, next] : std::vector<std::array<int, 3>>{{3, 92, 95}, {3, 93, 1}, {0, 50, 51}}) {
            st.nFrames = frames;
            st.topSample = top;
            const Advance a = advance(st, std::max(frames - 1, 0), 4);
            QCOMPARE(QList<int>({a.topSample, a.frame, a.row, int(a.refill)}), QList<int>({next, 0, 1, 1}));
        }
    }

    void search()
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
        const SearchHit hit = runSearch(st, "abc", findStart(st), [&] { return ++asked > 0; });
        QCOMPARE(QList<int>({asked, hit.sample, hit.field, st.topSample, st.curGrid, st.curRow}),
                 QList<int>({1, 5, 0, 5, 0, 0}));
        st.sampleTable(5, 2) = st.sampleTable(96, 0) = "abc";
        QCOMPARE(runSearch(st, "abc", findNextStart(st), {}).sample, 96); // passes the sample found

        // The key row of sample 1 is never searched; giving up changes nothing.
        st.curRow = 2;
        asked = 0;
        QVERIFY(!runSearch(st, "first key", findStart(st), [&] { return ++asked < 3; }).found);
        QCOMPARE(QList<int>({asked, st.topSample, st.curGrid, st.curRow}), QList<int>({3, 96, 0, 2}));

        // Past the last sample Find Next stops one beyond the plate and finds nothing there.
        st.sampleTable(97, 1) = "abc";
        st.topSample = 96;
        st.curGrid = 9;
        const SearchStart from = findNextStart(st);
        QVERIFY(from.topSample == 97 && !SearchSamples(st, "abc", from).found);
    }

    void listing()
    {
        State st = freshDocument();
        st.numField = 3;
        QCOMPARE(listSamplesByKey(st, "All").status, "No Samples");
        st.keyName[4] = "Blank";
        st.keyName[3] = "Sample";
        putSample(st, 15, {"Blank", "first", ""});
        putSample(st, 16, {"Blank2", "not this one"});
        st.sampleTable(97, 0) = "Blank";
        const KeyListing one = listSamplesByKey(st, "Blank");
        QCOMPARE(one.text + one.status, "Column B Sample No. 3\r\ndescription2  first\r\ndescription3  \r\n\r\n1 Sample");

        // Keys sharing a name each count every sample with it, slot 0's too.
        st.sampleTable(2, 0) = "Blank";
        st.sampleTable(0, 0) = "Blank";
        st.keyName[6] = "Blank";
        QCOMPARE(listingChoices(st), QStringList({"All", "Sample", "Blank", "Blank"}));
        const KeyListing all = listSamplesByKey(st, "All");
        QCOMPARE(all.text + all.status, "0 samples for Sample\r\n3 samples for Blank\r\n3 samples for Blank\r\n6 Samples");
        QVERIFY(listSamplesByKey(st, "Blank").text.startsWith("Column A Sample No. 2\r\n")); // plate order
    }

    void printout()
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
        QCOMPARE(linesOf(pages.front()), expected);
        QCOMPARE(linesOf(pages.front(), true), QStringList({"FileName: run.kwl", "Column B  Sample No. 1 ", "Column B  Sample No. 2 "}));

        // The key alone counts as information; rows past Z go on through the character set.
        st = freshDocument(1536);
        st.sampleTable(1536, 0) = "Blank";
        st.sampleTable(1537, 1) = "past the plate";
        QCOMPARE(linesOf(printoutPages(st).front(), true).last(), "Column `  Sample No. 48 ");
    }
};

QTEST_GUILESS_MAIN(TestEditing)
#include "tst_editing.moc"

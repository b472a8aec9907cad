#include "dialogs/configdialog.h"
#include "reports/statdialog.h"

#include "core/layout/configlayout.h"
#include "core/document/document.h"
#include "platform/grid.h"
#include "platform/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

using namespace Tessar;

class TestConfigDialog : public QObject
{
    Q_OBJECT

    State state;
    int saves = 0;
    std::unique_ptr<ConfigDialog> dialog;

    template<typename T>
    T *child(const char *name) const { return dialog->findChild<T *>(name); }
    void setCount(const char *text) const { child<QComboBox>("cboNField")->setEditText(text); }
    void click(const char *name) const { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    // A click on a value, as the user picks a cell, and keys to whatever has the focus.
    Grid *clickCell(const char *name, int row) const
    {
        Grid *grid = child<Grid>(name);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
        return grid;
    }
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    static QString focused()
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

    Grid *cell(const char *name, int row) const
    {
        Grid *grid = child<Grid>(name);
        grid->setRow(row);
        grid->setCol(1);
        return grid;
    }

private slots:
    void init()
    {
        state = State();
        state.numField = 5;
        state.company = "HALV";
        for (int f = 0; f <= 10; ++f)
            state.fieldName[std::size_t(f)] = f ? QString("description%1").arg(f + 1) : "Key";
        state.keyName[1] = "Blank";
        saves = 0;
        dialog = std::make_unique<ConfigDialog>(state, [this] { ++saves; });
        dialog->show();
    }

    // Typed counts stay whole from two to ten, take effect at once and are
    // kept by Cancel, which drops everything else.
    void countTakesEffectAtOnceAndCancelKeepsOnlyIt()
    {
        child<QLineEdit>("Text1")->setText("Other");
        const struct { const char *typed, *shown; int count; } cases[] = {{"1", "2", 2}, {"25", "10", 10}, {"3.6", "3.6", 4}};
        for (const auto &c : cases) {
            setCount(c.typed);
            QCOMPARE(child<QComboBox>("cboNField")->currentText(), c.shown);
            QCOMPARE(state.numField, float(c.count));
            QCOMPARE(child<Grid>("grdfield")->rows(), c.count);
        }
        QTest::keyClicks(cell("grdfield", 1), "zz");
        click("CancelBtn");
        QCOMPARE(state.numField, 4.0f);
        QCOMPARE(state.company, "HALV");
        QCOMPARE(state.fieldName[1], "description2");
        QCOMPARE(saves, 0);
    }

    void editedKeyNameIsLostWhenCountChangesBeforeOk()
    {
        QTest::keyClicks(cell("GrdOp", 0), "X");
        QCOMPARE(child<Grid>("GrdOp")->textAt(0, 1), "BlankX");
        setCount("4");
        click("OKBtn");
        QCOMPARE(state.keyName[1], "Blank");
        QCOMPARE(saves, 1);
    }

    // The key row cannot be edited; quotes, control and non-ASCII characters never get in.
    void okWritesFilteredTextsBack()
    {
        child<QLineEdit>("Text1")->clear();
        QTest::keyClicks(child<QLineEdit>("Text1"), "Lab \"7\"");
        Grid *fields = cell("grdfield", 0);
        QTest::keyClicks(fields, "x");
        QTest::keyClick(fields, Qt::Key_Backspace);
        fields->setRow(2);
        QTest::keyClick(fields, Qt::Key_Delete);
        QTest::keyClicks(fields, "Dose");
        Grid *keys = cell("GrdOp", 0);
        QTest::keyClick(keys, Qt::Key_Backspace);
        keys->setRow(3);
        QTest::keyClick(keys, Qt::Key_Backspace);   // on an empty cell
        QTest::keyClicks(keys, "a\"b");
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, "\u00e9");
        QApplication::sendEvent(keys, &accented);
        QKeyEvent control(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, "\x01");
        QApplication::sendEvent(keys, &control);
        click("OKBtn");
        QCOMPARE(QStringList({state.company, state.fieldName[0], state.fieldName[2], state.keyName[1], state.keyName[4]}),
                 QStringList({"Lab 7", "Key", "Dose", "Blan", "ab"}));
        QCOMPARE(saves, 1);
    }

    // The grids are controls like the others: Tab and Shift+Tab move on in
    // the dialog's order, Escape cancels and Return is OK.
    void keysLeaveTheGrids()
    {
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        clickCell("grdfield", 2);
        QCOMPARE(focused(), "grdfield");
        press(Qt::Key_Tab);
        QCOMPARE(focused(), "GrdOp");
        press(Qt::Key_Tab);
        QCOMPARE(focused(), "OKBtn");
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), "GrdOp");
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(child<QComboBox>("cboNField")->isAncestorOf(QApplication::focusWidget()));

        clickCell("GrdOp", 0);
        QTest::keyClicks(QApplication::focusWidget(), "Q");
        press(Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(state.keyName[1], "Blank");
        QCOMPARE(saves, 0);

        init();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        clickCell("GrdOp", 0);
        QTest::keyClicks(QApplication::focusWidget(), "Q");
        press(Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(state.keyName[1], "BlankQ");
        QCOMPARE(saves, 1);
    }

    // The running dialog measured back in twips: the design's figures for
    // 240-twip rows, whatever the row count, with six whole rows in each grid
    // and the tip kept inside its frame.
    void placesItsControlsAtTheDesignFigures()
    {
        Grid *fields = child<Grid>("grdfield");
        QCOMPARE(fields->rowHeight(0), twipsToPixels(240));
        const struct { const char *name; TwipsRect place; } figures[] = {
            {"FraField", {60, 1215, 4740, 1800}}, {"grdfield", {60, 300, 4620, 1440}},
            {"FraOp", {60, 3075, 4740, 1800}},    {"GrdOp", {60, 300, 4620, 1440}},
            {"OKBtn", {2790, 4995, 975, 375}},    {"CancelBtn", {3825, 4995, 975, 375}},
            {"FraTip", {60, 5490, 4740, 1695}},
        };
        const auto near = [](int pixels, double twips) { return std::abs(pixelsToTwips(pixels) - twips) <= pixelsToTwips(1); };
        for (const char *count : {"5", "10"}) {
            setCount(count);
            for (const auto &figure : figures) {
                const QRect r = child<QWidget>(figure.name)->geometry();
                const TwipsRect &t = figure.place;
                QVERIFY2(near(r.left(), t.left) && near(r.top(), t.top) && near(r.x() + r.width(), t.right())
                             && near(r.y() + r.height(), t.bottom()),
                         figure.name);
            }
            QVERIFY(near(dialog->width(), 4860) && near(dialog->height(), 7305));
            for (Grid *grid : {fields, child<Grid>("GrdOp")}) {
                QVERIFY(grid->viewport()->height() >= 6 * grid->rowHeight(0));
                QTRY_COMPARE(grid->verticalScrollBar()->isVisible(), grid->rows() > 6);
            }
        }
        auto *tip = child<QLabel>("Label8");
        QVERIFY(tip->geometry().bottom() <= child<QGroupBox>("FraTip")->contentsRect().bottom());
        // All of the tip shows, in letters no smaller than can still be read.
        QVERIFY(tip->heightForWidth(tip->width()) <= tip->height());
        QVERIFY(tip->font().pointSizeF() >= 6.5);
        // A window of fixed size offers no minimising or maximising.
        QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        ConfigLayoutInput large;   // a large font's rows push the tip down and the dialog grows
        large.rowHeight = 480;
        QVERIFY(configClientHeight(layoutConfig(large)) > ConfigClientHeight);
    }

    // The listing itself is tested with the editing commands; here, that the
    // List Samples dialog shows it for whatever its key box holds.
    void listingFollowsTheKeyBox()
    {
        State doc;
        applyFirstRunDefaults(doc);
        newDocument(doc);
        doc.keyName[2] = "Blank";
        doc.sampleTable(15, 0) = "Blank";   // row B, column 3
        StatDialog list(doc);
        auto *combo = list.findChild<QComboBox *>("Combo1");
        auto *text = list.findChild<QPlainTextEdit *>("Text1");
        auto *status = list.findChild<QLabel *>("status");
        QVERIFY(text->toPlainText().startsWith("1 samples for Blank\n"));
        combo->setCurrentIndex(combo->findText("Blank"));
        QVERIFY(text->toPlainText().startsWith("Column B Sample No. 3\n"));
        QCOMPARE(status->text(), "1 Sample");
        QCOMPARE(list.cursor().shape(), Qt::ArrowCursor);
        combo->setEditText("Blan");   // typed, and no key's name
        QCOMPARE(text->toPlainText(), QString());
        QCOMPARE(status->text(), "No Samples");
    }
};

QTEST_MAIN(TestConfigDialog)
#include "tst_configdialog.moc"

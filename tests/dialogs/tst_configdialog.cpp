#include "dialogs/configdialog.h"

#include "core/state.h"
#include "platform/grid.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
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
    T *child(const char *name) const { return dialog->findChild<T *>(QString::fromLatin1(name)); }

    Grid *cell(const char *name, int row) const
    {
        Grid *grid = child<Grid>(name);
        grid->setRow(row);
        grid->setCol(1);
        return grid;
    }

    void setCount(const QString &text) const { child<QComboBox>("cboNField")->setEditText(text); }
    void click(const char *name) const { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

private slots:
    void init()
    {
        state = State();
        state.numField = 5;
        state.company = QStringLiteral("HALV");
        for (int f = 0; f <= 10; ++f)
            state.fieldName[std::size_t(f)] = f ? QStringLiteral("description%1").arg(f + 1) : QStringLiteral("Key");
        state.keyName[1] = QStringLiteral("Blank");
        saves = 0;
        dialog = std::make_unique<ConfigDialog>(state, [this] { ++saves; });
        dialog->show();
    }

    void countTakesEffectAtOnceAndCancelKeepsOnlyIt()
    {
        auto *combo = child<QComboBox>("cboNField");
        QCOMPARE(combo->currentText(), QStringLiteral("5"));
        child<QLineEdit>("Text1")->setText(QStringLiteral("Other"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("3")));
        QCOMPARE(state.numField, 3.0f);
        QCOMPARE(child<Grid>("grdfield")->rows(), 3);
        QCOMPARE(child<Grid>("grdfield")->textAt(2, 0), QStringLiteral("Field 3 Description"));
        QTest::keyClicks(cell("grdfield", 1), QStringLiteral("zz"));
        click("CancelBtn");
        QCOMPARE(state.numField, 3.0f);
        QCOMPARE(state.company, QStringLiteral("HALV"));
        QCOMPARE(state.fieldName[1], QStringLiteral("description2"));
        QCOMPARE(saves, 0);
    }

    void typedCountsStayWholeFromTwoToTen_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<float>("count");
        QTest::newRow("below two") << "1" << "2" << 2.0f;
        QTest::newRow("not a number") << "abc" << "2" << 2.0f;
        QTest::newRow("above ten") << "25" << "10" << 10.0f;
        QTest::newRow("fraction rounds") << "3.6" << "3.6" << 4.0f;
    }

    void typedCountsStayWholeFromTwoToTen()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(float, count);
        setCount(typed);
        QCOMPARE(child<QComboBox>("cboNField")->currentText(), shown);
        QCOMPARE(state.numField, count);
        QCOMPARE(child<Grid>("grdfield")->rows(), int(count));
    }

    void editedKeyNameIsLostWhenCountChangesBeforeOk()
    {
        QTest::keyClicks(cell("GrdOp", 0), QStringLiteral("X"));
        QCOMPARE(child<Grid>("GrdOp")->textAt(0, 1), QStringLiteral("BlankX"));
        setCount(QStringLiteral("4"));
        click("OKBtn");
        QCOMPARE(state.keyName[1], QStringLiteral("Blank"));
        QCOMPARE(saves, 1);
    }

    void okWritesTextsBack()
    {
        child<QLineEdit>("Text1")->clear();
        QTest::keyClicks(child<QLineEdit>("Text1"), QStringLiteral("Lab \"7\""));
        Grid *fields = cell("grdfield", 2);
        QTest::keyClick(fields, Qt::Key_Delete);
        QTest::keyClicks(fields, QStringLiteral("Dose"));
        QTest::keyClick(cell("GrdOp", 0), Qt::Key_Backspace);
        click("OKBtn");
        QCOMPARE(state.company, QStringLiteral("Lab 7"));
        QCOMPARE(state.fieldName[0], QStringLiteral("Key"));
        QCOMPARE(state.fieldName[2], QStringLiteral("Dose"));
        QCOMPARE(state.keyName[1], QStringLiteral("Blan"));
        QCOMPARE(saves, 1);
    }

    void keyRowQuotesAndNonAsciiAreRefused()
    {
        Grid *fields = cell("grdfield", 0);
        QTest::keyClicks(fields, QStringLiteral("x"));
        QTest::keyClick(fields, Qt::Key_Backspace);
        QTest::keyClick(fields, Qt::Key_Delete);
        QCOMPARE(fields->textAt(0, 1), QStringLiteral("Key"));

        Grid *keys = cell("GrdOp", 3);
        QTest::keyClick(keys, Qt::Key_Backspace);   // on an empty cell
        QTest::keyClicks(keys, QStringLiteral("a\"b"));
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00e9"));
        QApplication::sendEvent(keys, &accented);
        QKeyEvent control(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
        QApplication::sendEvent(keys, &control);
        QCOMPARE(keys->textAt(3, 1), QStringLiteral("ab"));
    }
};

QTEST_MAIN(TestConfigDialog)
#include "tst_configdialog.moc"

#include "dialogs/colordialog.h"
#include "dialogs/swatch.h"
#include "fakedialogs.h"

#include <QTest>

#include <memory>

using namespace Tessar;

using Colours = std::array<Colour, 7>;
constexpr Colours Reset = {0x000000, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF};

class TestColorDialog : public QObject
{
    Q_OBJECT

    State state;
    Colours before{};
    std::unique_ptr<ScriptedDialogs> fake;
    std::unique_ptr<ColorDialog> dialog;

    void click(const char *name) const { QTest::mouseClick(dialog->findChild<QPushButton *>(name), Qt::LeftButton); }

private slots:
    void init()
    {
        state = State();
        InitColors(state);
        state.keyColor[3] = 0x345678;
        before = state.keyColor;
        fake = std::make_unique<ScriptedDialogs>();
        dialog = std::make_unique<ColorDialog>(state);
        dialog->show();
    }

    void resetThenCancelCommitsTheDefaults()
    {
        MessageBoxAnswerer answerer(QMessageBox::Cancel);
        click("Command1");
        QCOMPARE(state.keyColor, before);   // nothing until the dialog closes
        click("CancelBtn");
        QCOMPARE(answerer.asked, QStringList());
        QCOMPARE(state.keyColor, Reset);
    }

    // Asked whether closed with OK or the close control; Cancel keeps every colour.
    void conflictIsAskedOnEveryWayOfClosing()
    {
        for (bool closeControl : {false, true}) {
            init();
            fake->colours = {Colour(0)};
            click("Command1");
            click("Operator1");   // black, like the background
            MessageBoxAnswerer answerer(closeControl ? QMessageBox::Ok : QMessageBox::Cancel);
            closeControl ? void(dialog->close()) : click("OKBtn");
            QCOMPARE(answerer.asked, QStringList{"Color Conflict [OK]"});
            Colours expected = Reset;
            expected[1] = 0;
            QCOMPARE(state.keyColor, closeControl ? expected : before);
        }
    }

    void chooserOpensOnTheLastChosenColour()
    {
        fake->colours = {Colour(0x123456), std::nullopt, Colour(0x654321)};
        click("Operator2");
        click("Operator2");   // cancelled: back to the committed colour
        click("Operator5");
        QCOMPARE(fake->colourInitials, (QList<Colour>{0, 0x123456, 0x123456}));
        QCOMPARE(dialog->findChild<Swatch *>("Shape2")->colour(), before[2]);
        QCOMPARE(dialog->findChild<Swatch *>("Shape5")->colour(), Colour(0x654321));
    }
};

QTEST_MAIN(TestColorDialog)
#include "tst_colordialog.moc"

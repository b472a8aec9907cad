#include "dialogs/colordialog.h"
#include "dialogs/swatch.h"

#include "fakedialogs.h"

#include "core/state.h"

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
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<ColorDialog> dialog;

    void click(const QString &name) const
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(name), Qt::LeftButton);
    }
    Colour swatch(int n) const { return dialog->findChild<Swatch *>(QStringLiteral("Shape%1").arg(n))->colour(); }

private slots:
    void init()
    {
        state = State();
        InitColors(state);
        before = state.keyColor;
        fake = std::make_unique<FakeDialogs>();
        dialog = std::make_unique<ColorDialog>(state);
        dialog->show();
    }

    void resetThenCancelCommitsTheDefaults()
    {
        MessageBoxAnswerer answerer(QMessageBox::Cancel);
        click(QStringLiteral("Command1"));
        QCOMPARE(state.keyColor, before);   // nothing until the dialog closes
        click(QStringLiteral("CancelBtn"));
        QCOMPARE(answerer.seen, 0);
        QCOMPARE(state.keyColor, Reset);
    }

    void conflictIsAskedOnEveryWayOfClosing_data()
    {
        QTest::addColumn<bool>("closeControl");
        QTest::addColumn<bool>("answerOk");
        QTest::newRow("OK button, answered Cancel") << false << false;
        QTest::newRow("close control, answered OK") << true << true;
    }

    void conflictIsAskedOnEveryWayOfClosing()
    {
        QFETCH(bool, closeControl);
        QFETCH(bool, answerOk);
        fake->colourAnswers = {Colour(0)};
        click(QStringLiteral("Command1"));
        click(QStringLiteral("Operator1"));   // black, like the background
        MessageBoxAnswerer answerer(answerOk ? QMessageBox::Ok : QMessageBox::Cancel);
        if (closeControl)
            dialog->close();
        else
            click(QStringLiteral("OKBtn"));
        QCOMPARE(answerer.seen, 1);
        QCOMPARE(answerer.title, QStringLiteral("Color Conflict"));
        QVERIFY(answerer.text.startsWith(QStringLiteral("You have assigned some identical colors")));
        QVERIFY(answerer.text.endsWith(QStringLiteral("Click OK to save new colors")));
        QVERIFY(answerer.questionWithOkDefault);
        Colours expected = Reset;
        expected[1] = 0;
        QCOMPARE(state.keyColor, answerOk ? expected : before);
    }

    void chooserOpensOnTheLastChosenColour()
    {
        fake->colourAnswers = {Colour(0x123456), std::nullopt, Colour(0x654321)};
        click(QStringLiteral("Operator2"));
        click(QStringLiteral("Operator2"));   // cancelled: back to the committed colour
        click(QStringLiteral("Operator5"));
        QCOMPARE(fake->colourInitials, (std::vector<Colour>{0, 0x123456, 0x123456}));
        QCOMPARE(fake->colourTitle, QStringLiteral("Define Custom Colors"));
        QCOMPARE(swatch(2), before[2]);
        QCOMPARE(swatch(5), Colour(0x654321));
    }
};

QTEST_MAIN(TestColorDialog)
#include "tst_colordialog.moc"

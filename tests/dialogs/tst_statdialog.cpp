#include "reports/statdialog.h"

#include "core/document.h"
#include "core/state.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

using namespace Tessar;

class TestStatDialog : public QObject
{
    Q_OBJECT

private slots:
    void listsTheKeyOfOneSampleOnRowB()
    {
        State state;
        applyFirstRunDefaults(state);
        newDocument(state);
        state.keyName[2] = QStringLiteral("Blank");
        state.keyName[4] = QStringLiteral("Spike");
        state.sampleTable(15, 0) = QStringLiteral("Blank");   // row B, column 3
        state.sampleTable(15, 1) = QStringLiteral("serum");
        StatDialog dialog(state);
        auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("Combo1"));
        auto *text = dialog.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        auto *status = dialog.findChild<QLabel *>(QStringLiteral("status"));
        QCOMPARE(text->toPlainText(), QStringLiteral("1 samples for Blank\n0 samples for Spike\n"));

        combo->setCurrentIndex(combo->findText(QStringLiteral("Blank")));
        const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(0, 2), QStringList({QStringLiteral("Column B Sample No. 3"), QStringLiteral("description2  serum")}));
        QCOMPARE(status->text(), QStringLiteral("1 Sample"));
        QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);

        combo->setEditText(QStringLiteral("Blan"));   // typed, and no key's name
        QCOMPARE(text->toPlainText(), QString());
        QCOMPARE(status->text(), QStringLiteral("No Samples"));
    }
};

QTEST_MAIN(TestStatDialog)
#include "tst_statdialog.moc"

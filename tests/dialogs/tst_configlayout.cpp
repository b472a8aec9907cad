#include "core/configlayout.h"

#include <QTest>

using namespace Tessar;

class TestConfigLayout : public QObject
{
    Q_OBJECT

private slots:
    void designFigures()
    {
        const ConfigLayout l = layoutConfig(ConfigLayoutInput{});
        QCOMPARE(l.fraField.top, 1215);
        QCOMPARE(l.fraField.height, 1800);
        QCOMPARE(l.fraOp.top, 3075);
        QCOMPARE(l.okBtn.top, 4995);
        QCOMPARE(l.cancelBtn.top, 4995);
        QCOMPARE(l.cancelBtn.left, 3825);
        QCOMPARE(l.okBtn.left, 2790);
        QCOMPARE(l.fraTip.top, 5490);
        QCOMPARE(configClientHeight(l), ConfigClientHeight);
    }

    void tallRowsGrowTheDialogInsteadOfHidingTheTip()
    {
        ConfigLayoutInput input;
        input.rowHeight = 300;
        const ConfigLayout l = layoutConfig(input);
        QCOMPARE(l.fraOp.top, l.fraField.bottom() + 60);
        QCOMPARE(configClientHeight(l), l.fraTip.bottom() + 120);
    }
};

QTEST_APPLESS_MAIN(TestConfigLayout)
#include "tst_configlayout.moc"

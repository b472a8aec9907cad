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
};

QTEST_APPLESS_MAIN(TestConfigLayout)
#include "tst_configlayout.moc"

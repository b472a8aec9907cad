#include "core/layout/windowlayout.h"

#include <QTest>

using namespace Tessar;

namespace {

// Every character is 100 twips wide: "Sample ID" is the longest caption.
LayoutInput input(double width, double height, float numField = 5)
{
    LayoutInput in;
    in.width = width;
    in.height = height;
    in.numField = numField;
    in.fieldName = {"Key", "Sample ID", "Conc", "d3", "d4"};
    in.wellCount = 96;
    in.rowHeight = 240;
    in.textWidth = [](const QString &text) { return 100.0 * double(text.size()); };
    return in;
}

WindowLayout layout(const LayoutInput &in) { return sizeformLayout(in, WindowLayout::designTime()); }

QString rect(const TwipsRect &r) { return QString::asprintf("%.2f %.2f %.2f %.2f", r.left, r.top, r.width, r.height); }

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void figuresFollowTheWindow()
    {
        const WindowLayout l = layout(input(9000, 5000));
        QCOMPARE(rect(l.fraHeader), "60.00 0.00 8880.00 1095.00");
        QCOMPARE(rect(l.CmdList), "7725.00 180.00 1035.00 495.00");
        QCOMPARE(rect(l.LblCompany), "120.00 180.00 7485.00 495.00");
        QCOMPARE(rect(l.LblFilename), "120.00 720.00 3742.50 315.00");
        QCOMPARE(rect(l.TxtFileDesc), "3922.50 720.00 4837.50 285.00");
        QCOMPARE(rect(l.FraPic), "60.00 1155.00 2231.21 3470.00");
        QCOMPARE(rect(l.PicWell), "38.58 60.00 2154.05 3350.00");
        QCOMPARE(rect(l.StatusBar), "0.00 4685.00 2231.21 315.00");
        QCOMPARE(rect(l.vsb), "8625.00 1155.00 315.00 3785.00");
        QCOMPARE(rect(l.fraMain), "2351.21 1155.00 6153.79 3785.00");

        // The caption column fits the longest caption with an "M" to spare.
        QCOMPARE(l.captionWidth, 1100.0);
        QCOMPARE(l.valueWidth, l.GrdID[0].width - l.captionWidth);
        QCOMPARE(rect(l.fraSample[1]).section(' ', 1), "1800.00 5973.79 1560.00");
        QCOMPARE(rect(l.GrdID[0]).section(' ', 2), "5793.79 1200.00");
        QCOMPARE(QList<int>({l.gridRows, l.nFrames, l.vsbMax, l.vsbLargeChange}), QList<int>({5, 2, 96, 2}));

        // Only frames that fit completely count.
        const double exact = 1095 + 120 + 120 + 1560 + 120 + 1560;
        QCOMPARE(layout(input(9000, exact)).nFrames, 1);
        QCOMPARE(layout(input(9000, exact + 1)).nFrames, 2);
        QCOMPARE(layout(input(9000, 100000)).nFrames, 10);
        QCOMPARE(layout(input(9000, 5000, 10)).nFrames, 1);
        const WindowLayout none = layout(input(9000, 2500));
        QVERIFY(none.nFrames == 0 && none.vsbLargeChange == 1);

        // The key row is always captioned "Key", whatever its field name.
        LayoutInput in = input(9000, 5000, 2);
        in.fieldName[0] = "A much longer caption";
        in.fieldName[1] = "ab";
        QCOMPARE(layout(in).captionWidth, 400.0 + 100.0);
        // With nothing to measure the column falls back to a fixed text.
        in.textWidth = [](const QString &text) { return text == "Dummy String" ? 777.0 : 0.0; };
        QCOMPARE(layout(in).captionWidth, 777.0);
    }

    void sizesNeverGoNegative()
    {
        const WindowLayout before = layout(input(9000, 5000));
        const WindowLayout tiny = sizeformLayout(input(100, 100), before);
        QCOMPARE(rect(tiny.fraHeader) + rect(tiny.fraMain), rect(before.fraHeader) + rect(before.fraMain));
        QCOMPARE(tiny.PicWell.height, before.PicWell.height);

        // A tall, narrow window squeezes the frames: they keep their last width.
        const WindowLayout narrow = sizeformLayout(input(2000, 20000), before);
        QVERIFY(narrow.fraMain.width > 0 && narrow.LblCompany.width > 0 && narrow.TxtFileDesc.width > 0);
        for (std::size_t i = 0; i < narrow.fraSample.size(); ++i)
            QVERIFY(narrow.fraSample[i].width > 0 && narrow.GrdID[i].width > 0);

        LayoutInput broken = input(qQNaN(), qInf());
        broken.textWidth = nullptr;
        const WindowLayout odd = sizeformLayout(broken, before);
        QVERIFY(odd.fraHeader.width == before.fraHeader.width && odd.captionWidth >= 0);
    }
};

QTEST_APPLESS_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"

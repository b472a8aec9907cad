#include "core/windowlayout.h"

#include <QTest>

using namespace Tessar;

namespace {

// Every character 100 twips wide: easy to reason about.
double hundredPerChar(const QString &text)
{
    return 100.0 * double(text.size());
}

LayoutInput input(double width, double height, float numField = 5)
{
    LayoutInput in;
    in.width = width;
    in.height = height;
    in.numField = numField;
    in.fieldName = {QStringLiteral("Key"), QStringLiteral("Sample ID"), QStringLiteral("Conc"),
                    QStringLiteral("d3"), QStringLiteral("d4")};
    in.wellCount = 96;
    in.rowHeight = 240;
    in.textWidth = hundredPerChar;
    return in;
}

void compareRect(const TwipsRect &actual, double left, double top, double width, double height)
{
    QVERIFY2(qAbs(actual.left - left) < 0.01, qPrintable(QString::number(actual.left)));
    QVERIFY2(qAbs(actual.top - top) < 0.01, qPrintable(QString::number(actual.top)));
    QVERIFY2(qAbs(actual.width - width) < 0.01, qPrintable(QString::number(actual.width)));
    QVERIFY2(qAbs(actual.height - height) < 0.01, qPrintable(QString::number(actual.height)));
}

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void headerAndPlateAreaFollowTheWindow()
    {
        const WindowLayout l = sizeformLayout(input(9000, 5000), WindowLayout::designTime());
        compareRect(l.fraHeader, 60, 0, 8880, 1095);
        compareRect(l.CmdList, 7725, 180, 1035, 495);
        compareRect(l.LblCompany, 120, 180, 7485, 495);
        compareRect(l.LblFilename, 120, 720, 3742.5, 315);
        compareRect(l.TxtFileDesc, 3922.5, 720, 4837.5, 285);
        // The description box ends where the List button does.
        QCOMPARE(l.TxtFileDesc.left + l.TxtFileDesc.width, l.CmdList.left + l.CmdList.width);

        compareRect(l.FraPic, 60, 1155, 2231.21, 3470);
        compareRect(l.PicWell, (2231.21 - 2154.05) / 2, 60, 2154.05, 3350);
        compareRect(l.StatusBar, 0, 4685, 2231.21, 315);
        compareRect(l.vsb, 9000 - 315 - 60, 1155, 315, 3785);
        compareRect(l.fraMain, 2351.21, 1155, 8625 - 120 - 2351.21, 3785);
    }

    void framesThatFitCompletelyAreCounted()
    {
        const WindowLayout l = sizeformLayout(input(9000, 5000), WindowLayout::designTime());
        QCOMPARE(l.gridRows, 5);
        QCOMPARE(l.GrdID[0].height, 1200.0);
        QCOMPARE(l.fraSample[0].height, 1560.0);
        QCOMPARE(l.fraSample[0].top, 120.0);
        QCOMPARE(l.fraSample[1].top, 1800.0);
        QCOMPARE(l.fraSample[2].top, 3480.0);
        QCOMPARE(l.fraSample[9].top, 120.0 + 9 * 1680);
        QCOMPARE(l.nFrames, 2);
        QCOMPARE(l.vsbMin, 1);
        QCOMPARE(l.vsbMax, 96);
        QCOMPARE(l.vsbSmallChange, 1);
        QCOMPARE(l.vsbLargeChange, 2);

        // A frame that ends exactly at the bottom does not count.
        const double exact = 1095 + 120 + 120 + 1560 + 120 + 1560;
        QCOMPARE(sizeformLayout(input(9000, exact), WindowLayout::designTime()).nFrames, 1);
        QCOMPARE(sizeformLayout(input(9000, exact + 1), WindowLayout::designTime()).nFrames, 2);
        QCOMPARE(sizeformLayout(input(9000, 100000), WindowLayout::designTime()).nFrames, 10);
    }

    void noFrameFitsInAShortWindow()
    {
        const WindowLayout l = sizeformLayout(input(9000, 2500), WindowLayout::designTime());
        QCOMPARE(l.nFrames, 0);
        QCOMPARE(l.vsbLargeChange, 1);
        // More rows per sample make taller frames.
        QCOMPARE(sizeformLayout(input(9000, 5000, 10), WindowLayout::designTime()).nFrames, 1);
    }

    void captionColumnFitsTheLongestCaption()
    {
        // "Sample ID" is the longest: its width with an "M", plus one more "M".
        const WindowLayout l = sizeformLayout(input(9000, 5000), WindowLayout::designTime());
        QCOMPARE(l.captionWidth, 1000.0 + 100.0);
        QCOMPARE(l.valueWidth, l.GrdID[0].width - l.captionWidth);
        QCOMPARE(l.GrdID[0].width, l.fraSample[0].width - 180);
        QCOMPARE(l.fraSample[0].width, l.fraMain.width - 180);

        // Whatever fieldName(0) holds, the key row is captioned "Key".
        LayoutInput in = input(9000, 5000, 2);
        in.fieldName[0] = QStringLiteral("A much longer caption");
        in.fieldName[1] = QStringLiteral("ab");
        QCOMPARE(sizeformLayout(in, WindowLayout::designTime()).captionWidth, 400.0 + 100.0);

        // With nothing to measure the column falls back to a fixed text.
        in.textWidth = [](const QString &text) { return text == QStringLiteral("Dummy String") ? 777.0 : 0.0; };
        QCOMPARE(sizeformLayout(in, WindowLayout::designTime()).captionWidth, 777.0);
    }

    void sizesThatComeOutNegativeKeepTheirValue()
    {
        const WindowLayout before = sizeformLayout(input(9000, 5000), WindowLayout::designTime());
        const WindowLayout tiny = sizeformLayout(input(100, 100), before);
        QCOMPARE(tiny.fraHeader.width, before.fraHeader.width);
        QCOMPARE(tiny.FraPic.height, before.FraPic.height);
        QCOMPARE(tiny.PicWell.height, before.PicWell.height);
        QCOMPARE(tiny.fraMain.height, before.fraMain.height);
        QCOMPARE(tiny.vsb.height, before.vsb.height);

        // A tall, narrow window squeezes the frames to nothing: they keep
        // their last width rather than going negative.
        const WindowLayout narrow = sizeformLayout(input(2000, 20000), before);
        QVERIFY(narrow.fraMain.width > 0);
        for (std::size_t i = 0; i < narrow.fraSample.size(); ++i) {
            QVERIFY(narrow.fraSample[i].width > 0);
            QVERIFY(narrow.GrdID[i].width > 0);
        }
        QVERIFY(narrow.LblCompany.width > 0);
        QVERIFY(narrow.TxtFileDesc.width > 0);

        // A nonsensical size or measure never produces one either.
        LayoutInput broken = input(qQNaN(), qInf());
        broken.textWidth = nullptr;
        const WindowLayout odd = sizeformLayout(broken, before);
        QCOMPARE(odd.fraHeader.width, before.fraHeader.width);
        QVERIFY(odd.captionWidth >= 0);
    }
};

QTEST_APPLESS_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"

#include "windowdriver.h"

#include "core/plate/picturelayout.h"
#include "core/plate/welldisc.h"
#include "plate/welldrawing.h"

#include <QCheckBox>
#include <QImage>
#include <QPushButton>
#include <QSpinBox>

using namespace Tessar;

class TestPictureExport : public QObject, WindowDriver
{
    Q_OBJECT

    void chooseExportImage() { choose({QStringLiteral("mnuFile"), QStringLiteral("mnuFileExport"), QStringLiteral("mnuFileExportImage")}); }

    // Answers the options dialog as a user does: types the width, clicks
    // the boxes that are to change, then OK.
    void answerOptions(int width, bool title = true, bool legend = true)
    {
        whenModal(QStringLiteral("ImageOptions"), [width, title, legend](QWidget *dialog) {
            auto *spin = dialog->findChild<QSpinBox *>(QStringLiteral("imageWidth"));
            QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(spin, QString::number(width));
            for (auto [name, wanted] : {std::pair{"imageTitle", title}, std::pair{"imageLegend", legend}}) {
                auto *box = dialog->findChild<QCheckBox *>(QLatin1String(name));
                if (box->isChecked() != wanted)
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            }
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("imageOk")), Qt::LeftButton);
        });
    }

    // Key 2 named "Std" on sample 1; sample 2 with data and no key; a description typed in the window.
    void fillRun7()
    {
        state.filePath = path("run7.kwl");
        state.fileTitle = QStringLiteral("run7.kwl");
        state.keyName[2] = QStringLiteral("Std");
        state.sampleTable(1, 0) = QStringLiteral("Std");
        state.sampleTable(2, 1) = QStringLiteral("S-02");
        auto *description = child<QLineEdit>(QStringLiteral("TxtFileDesc"));
        QTest::mouseClick(description, Qt::LeftButton);
        QTest::keyClicks(description, QStringLiteral("Calibration"));
    }

    // The picture as the options make it, for the document as the window shows it.
    PictureLayout expectedLayout(const PictureOptions &options) const
    {
        State shown = state;
        shown.fileDesc = child<QLineEdit>(QStringLiteral("TxtFileDesc"))->text();
        return PictureLayout(shown, options);
    }

    static QColor discPixel(const QImage &image, QPointF centre, double discRadius)
    {
        return image.pixelColor((centre + QPointF(0, DiscFillProbe * discRadius)).toPoint());
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void pngShowsTheMapAndItsLegend()
    {
        fillRun7();
        answerOptions(600);
        dialogs->answers = {path("run7.png")};
        chooseExportImage();
        QCOMPARE(unanswered(), 0);
        QCOMPARE(dialogs->kinds, QStringList{"save"});
        const CommonDialogs::FileRequest asked = dialogs->requests.first();
        QCOMPARE(asked.fileName, QStringLiteral("run7.png"));
        QVERIFY(asked.confirmOverwrite);
        QCOMPARE(QDir(asked.initDir), QDir(dir.path()));

        const QImage image(path("run7.png"));
        const PictureLayout layout = expectedLayout({600, true, true});
        QCOMPARE(image.size(), layout.size());
        QCOMPARE(image.width(), 600);
        const QColor green(0, 0xFF, 0);   // key 2's default colour
        QCOMPARE(discPixel(image, layout.wellCentre(1), layout.discRadius()), green);
        QCOMPARE(discPixel(image, layout.wellCentre(2), layout.discRadius()), QColor(0x80, 0x80, 0x80));
        QCOMPARE(image.pixelColor(layout.wellCentre(3).toPoint()), QColor(Qt::white));
        QCOMPARE(image.pixelColor(layout.wellCentre(96).toPoint()), QColor(Qt::white));
        // Key 2's line of the legend: its swatch in its colour and its text beside it.
        const LegendSlot &key2 = layout.legend().at(1);
        QCOMPARE(key2.entry.label, QStringLiteral("Key 2: Std"));
        QCOMPARE(discPixel(image, key2.swatch, key2.ringRadius * DiscScale), green);
        int ink = 0;
        for (int x = int(key2.text.left()); x < int(key2.text.right()); ++x)
            ink += qGray(image.pixel(x, int(key2.text.center().y()))) < 128;
        QVERIFY2(ink > 5, qPrintable(QString::number(ink)));
        QVERIFY(status().contains(QStringLiteral("run7.png")));
        // The document is as it was: the typed description stays in the window only.
        QVERIFY(state.fileDesc.isEmpty());

        // Without title and legend the picture is the plate alone; the options are remembered.
        answerOptions(400, false, false);
        dialogs->answers = {path("bare.png")};
        chooseExportImage();
        QCOMPARE(QImage(path("bare.png")).size(), expectedLayout({400, false, false}).size());
        whenModal(QStringLiteral("ImageOptions"), [](QWidget *dialog) {
            QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("imageWidth"))->value(), 400);
            QVERIFY(!dialog->findChild<QCheckBox *>(QStringLiteral("imageLegend"))->isChecked());
            // A window of fixed size offers no minimising or maximising.
            QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("imageCancel")), Qt::LeftButton);
        });
        chooseExportImage();
        QCOMPARE(unanswered(), 0);
        QCOMPARE(dialogs->kinds.size(), 2);   // Cancel asks no file name

        // A name ending in .svg makes a drawing of the same picture, which
        // tessar-kwl's tests take apart; here its title and the description typed.
        answerOptions(800);
        dialogs->answers = {path("run7.svg")};
        chooseExportImage();
        const SvgDrawing svg = readSvg(path("run7.svg"));
        QCOMPARE(svg.title, QStringLiteral("run7.kwl"));
        QVERIFY(svg.texts.contains(QStringLiteral("Description: Calibration")));
    }

    void aFailedWriteSaysWhyAndChangesNothing()
    {
        fillRun7();
        QVERIFY(QDir(dir.path()).mkdir("failed"));
        const auto in = [this](const char *name) { return path("failed/" + QLatin1String(name)); };
        writeBytes(in("run7.png"), "keep");   // a file where a folder would have to be
        const QString before = status();

        QString told;
        answerOptions(600);
        whenBox("ExportFailed", &told);
        dialogs->answers = {in("run7.png/inner.png")};
        chooseExportImage();
        QCOMPARE(unanswered(), 0);
        QVERIFY2(told.startsWith(QStringLiteral("The plate map could not be saved to")), qPrintable(told));
        QVERIFY(told.contains(QStringLiteral("inner.png")));
        QCOMPARE(status(), before);
        QVERIFY(QFileInfo(in("run7.png")).isFile());

        // A name of another kind is refused before anything is written.
        answerOptions(600);
        whenBox("ExportFailed", &told);
        dialogs->answers = {in("run7.jpg")};
        chooseExportImage();
        QVERIFY(told.contains(QStringLiteral(".svg")));
        QVERIFY(!QFile::exists(in("run7.jpg")));
        QCOMPARE(status(), before);
        QCOMPARE(QDir(path("failed")).entryList(QDir::Files), QStringList{"run7.png"});
    }
};

QTEST_MAIN(TestPictureExport)
#include "tst_pictureexport.moc"

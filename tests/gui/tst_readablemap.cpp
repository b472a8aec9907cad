#include "windowdriver.h"

#include "core/plate/contrast.h"
#include "plate/welldrawing.h"
#include "platform/captionframe.h"
#include "platform/elidedlabel.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QWindow>

using namespace Tessar;

// The plate map and the frames read without relying on colour alone, and
// can be worked with the wheel and the keyboard.
class TestReadableMap : public QObject, WindowDriver
{
    Q_OBJECT

    static Rgb rgb(const QColor &c) { return {c.red(), c.green(), c.blue()}; }

    QPoint atWell(int s) const
    {
        return picture()->toPixel(state.spotX[std::size_t(s)], state.spotY[std::size_t(s)]).toPoint();
    }

    QString tipAt(QWidget *over, QPoint at) const
    {
        QHelpEvent event(QEvent::ToolTip, at, over->mapToGlobal(at));
        QApplication::sendEvent(over, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    // The best contrast any pixel of the key cell's tag reaches against the
    // tag's colour: that of the text's solid strokes.
    double keyNameContrast(int frame, const QColor &tag) const
    {
        Grid *g = grid(frame);
        const QImage image = g->viewport()->grab(g->visualItemRect(g->item(0, 1))).toImage();
        QRect inside;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).rgb() == tag.rgb())
                    inside |= QRect(x, y, 1, 1);
        double best = 0;
        inside.adjust(2, 2, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                best = std::max(best, contrastRatio(rgb(image.pixelColor(x, y)), rgb(tag)));
        return best;
    }

    // Of the pixels inside disc s, how many have the colour of its number.
    static int numberPixels(const QImage &image, QPointF centre, double radius, const QColor &number)
    {
        int count = 0;
        for (int y = int(centre.y() - radius); y <= int(centre.y() + radius); ++y)
            for (int x = int(centre.x() - radius); x <= int(centre.x() + radius); ++x)
                if (QLineF(centre, QPointF(x + 0.5, y + 0.5)).length() < radius - 1.5
                    && image.pixelColor(x, y).rgb() == number.rgb())
                    ++count;
        return count;
    }

private slots:
    void init() { start(QSize(1000, 720)); }
    void cleanup() { stop(); }

    void discsCarryTheirKeyNumberWhenWideEnough()
    {
        // Drawn by the shared well painter at twice the screen's density:
        // the size that counts is in device-independent pixels.
        for (const auto &[dips, numbered] : std::vector<std::pair<double, bool>>{{12, true}, {11, false}}) {
            QImage image(80, 80, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            WellLook look;
            look.disc = QColor(255, 255, 0);
            look.key = 6;
            const WellPlace place{QPointF(40, 40), dips * 1.5, dips, QRectF(), 2.0};
            paintWell(painter, place, look);
            painter.end();
            QCOMPARE(numberPixels(image, place.centre, place.discRadius, Qt::black) > 10, numbered);
        }

        // On the window's 96-well map every key shows its number in black or
        // white, whichever stands out on its colour.
        for (int k = 1; k <= KeyCount; ++k) {
            state.keyName[std::size_t(k)] = QStringLiteral("K%1").arg(k);
            state.sampleTable(k, 0) = state.keyName[std::size_t(k)];
        }
        state.sampleTable(7, 1) = QStringLiteral("no key");
        window->sizeform();
        const QImage image = picture()->image();
        const qreal ratio = picture()->devicePixelRatioF();
        for (int k = 1; k <= 7; ++k) {
            const QColor fill = k <= KeyCount ? opaque(state.keyColor[std::size_t(k)]) : opaque(ButtonShadowColour);
            const Rgb text = readableTextOn(rgb(fill));
            const int count = numberPixels(image, QPointF(atWell(k)) * ratio,
                                           picture()->toPixelRadius(state.spotRad * 0.666f) * ratio,
                                           QColor(text.red, text.green, text.blue));
            QVERIFY2(k <= KeyCount ? count > 10 : count == 0, qPrintable(QString::number(k)));
        }
    }

    void keyNamesReadOnEveryKeyColour()
    {
        state.keyName[1] = QStringLiteral("Blank");
        state.sampleTable(1, 0) = state.sampleTable(2, 0) = QStringLiteral("Blank");
        QList<Colour> colours{ButtonShadowColour, 0x80000005u, 0x80000008u, 0x8000000Du};
        const QRgb classic[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                  0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
        for (QRgb c : classic)
            colours.append(fromQColor(QColor(c)));
        clickCell(1, 0);   // frame 1's key cell is current and has the focus
        for (Colour colour : colours) {
            state.keyColor[1] = colour;
            scrollBar()->setValue(2);
            scrollBar()->setValue(1);
            QCOMPARE(grid(0)->textColourAt(0, 1), colour);
            const QColor tag = opaque(colour);
            for (int frame : {0, 1}) {
                const double contrast = keyNameContrast(frame, tag);
                QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("frame %1, colour %2: %3")
                                                         .arg(frame).arg(colour, 8, 16).arg(contrast)));
            }
        }
    }

    void currentCellIsMarkedWithAndWithoutTheFocus()
    {
        const auto background = [this](int frame, int row) {
            Grid *g = grid(frame);
            const QRect cell = g->visualItemRect(g->item(row, 1));
            return g->viewport()->grab(cell).toImage().pixelColor(cell.width() - 3, cell.height() / 2);
        };
        const QPalette palette = grid(0)->palette();
        clickCell(0, 2);
        QCOMPARE(background(0, 2), palette.color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(background(1, grid(1)->row()), palette.color(QPalette::Base));

        // Away from the grids the cell typing returns to stays marked, paler.
        QTest::mouseClick(child<QLineEdit>("TxtFileDesc"), Qt::LeftButton);
        const QColor pale = background(0, 2);
        QVERIFY(pale != palette.color(QPalette::Base) && pale != palette.color(QPalette::Highlight));
        QVERIFY(pale.blue() > pale.red());

        clickCell(1, 3);
        QCOMPARE(background(0, 2), palette.color(QPalette::Base));
        QCOMPARE(background(1, 3), palette.color(QPalette::Active, QPalette::Highlight));
    }

    void wheelOverFramesAndMapScrollsOneSamplePerNotch()
    {
        Grid *g = grid(1);
        const QPoint cell = g->visualItemRect(g->item(2, 1)).center();
        for (int i = 0; i < 3; ++i)
            UserInput::wheel(g->viewport(), cell, QPoint(0, -120));
        QCOMPARE(state.topSample, 4);
        // A touchpad's fine steps add up to whole notches.
        for (int i = 0; i < 5; ++i)
            UserInput::wheel(g->viewport(), cell, QPoint(0, -30));
        QCOMPARE(state.topSample, 5);
        UserInput::wheel(picture(), atWell(40), QPoint(0, 240));
        QCOMPARE(state.topSample, 3);
        UserInput::wheel(child<QGroupBox>("fraSample0"), QPoint(20, 5), QPoint(0, -120));
        QCOMPARE(state.topSample, 4);
        UserInput::wheel(g->viewport(), cell, QPoint(120, 0));   // sideways: no scroll
        QCOMPARE(state.topSample, 4);
        for (int i = 0; i < 3; ++i)
            UserInput::wheel(picture(), atWell(40), QPoint(0, 120));
        QCOMPARE(state.topSample, 1);
    }

    void keyboardMovesTheRedRingAndEntersItsWell()
    {
        const int frames = state.nFrames;
        QVERIFY(frames >= 3);

        QTest::mouseMove(window->windowHandle(), picture()->mapTo(window.get(), atWell(13)));
        QTest::mouseClick(picture(), Qt::LeftButton, {}, atWell(13));
        QCOMPARE(QApplication::focusWidget(), picture());
        QCOMPARE(window->plateMap().litSample(), 13);
        QCOMPARE(state.topSample, 13);

        press(Qt::Key_Right);      // the next plate row lies to the right
        QCOMPARE(window->plateMap().litSample(), 25);
        QCOMPARE(status(), "Selected Sample: C 1");
        press(Qt::Key_Up);         // columns climb the map
        QCOMPARE(window->plateMap().litSample(), 26);
        QCOMPARE(state.topSample, 13);   // moving the ring scrolls nothing

        press(Qt::Key_Return);
        QCOMPARE(state.topSample, 26);
        QVERIFY(!SampleHasData(state, 26));
    }

    void tooltipsTellWhatAWellHoldsAndWhatALabelCuts()
    {
        state.keyName[2] = QStringLiteral("Std");
        state.sampleTable(13, 0) = QStringLiteral("Std");
        state.sampleTable(13, 1) = QStringLiteral("<b>S-1</b>");
        QCOMPARE(tipAt(picture(), atWell(13)),
                 QStringLiteral("<p style='white-space:pre'><b>B 1</b><br>Key 2: Std<br>description2: &lt;b&gt;S-1&lt;/b&gt;</p>"));
        QVERIFY(tipAt(picture(), atWell(14)).contains(QStringLiteral("<b>B 2</b><br>Empty")));

        const QString company = QStringLiteral("Halvorsen Clinical Laboratory Services, Department of Immunology & Allergy");
        whenModal(QStringLiteral("Config"), [company](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(company);
            clickButton(dialog->findChild<QPushButton *>(QStringLiteral("OKBtn")));
        });
        choose({"mnuSetup", "mnuSetupConfigure"});
        auto *label = child<ElidedLabel>("LblCompany");
        QCOMPARE(label->text(), company);
        window->resize(700, 600);
        QTRY_VERIFY(label->isElided());
        QVERIFY(tipAt(label, QPoint(5, 5)).contains(QStringLiteral("Immunology &amp; Allergy")));
        window->resize(1400, 700);
        QTRY_VERIFY(!label->isElided());
        tipAt(label, QPoint(5, 5));
        QTRY_VERIFY(!QToolTip::isVisible());

        auto *frame = child<CaptionFrame>("fraSample0");
        QCOMPARE(frame->shownTitle(), caption(0));
        window->resize(470, 700);
        QTRY_VERIFY(frame->shownTitle().endsWith(QChar(0x2026)));
        QCOMPARE(caption(0), "Row A , Column  1");
        QVERIFY(tipAt(frame, QPoint(8, 4)).contains(caption(0)));
    }
};

QTEST_MAIN(TestReadableMap)
#include "tst_readablemap.moc"

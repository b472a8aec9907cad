#include "../testfiles.h"

#include "app/programstyle.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "core/document/document.h"
#include "core/files/samplefile.h"
#include "core/document/settings.h"
#include "core/document/state.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Tessar;

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;
    QTemporaryDir m_files;

    // The image plugins this process has loaded, by file name.
    static QStringList imagePlugins()
    {
        QFile maps(QStringLiteral("/proc/self/maps"));
        if (!maps.open(QIODevice::ReadOnly))
            return {QStringLiteral("no /proc/self/maps")};
        QStringList found;
        for (const QByteArray &line : maps.readAll().split('\n'))
            if (line.contains("/imageformats/") && !found.contains(QString::fromUtf8(line.mid(line.lastIndexOf('/') + 1))))
                found << QString::fromUtf8(line.mid(line.lastIndexOf('/') + 1));
        return found;
    }

    static qsizetype threadCount()
    {
        return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    }

    static QWidget *mainWindow()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == u"kel95")
                return w;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        // Never meet a copy the person running the tests has open; find the
        // manual, or its warning would wait for a click.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("PATH", qgetenv("TESSAR_SOURCE_DIR") + "/data:" + qgetenv("PATH"));
    }

    // A start that is only timed paints the file it was given, with the
    // keyboard on its first sample, then ends without closing the window,
    // which would save its settings. No picture it reads on the way needs
    // an image plugin loaded, and nothing on the way waits for a thread.
    void firstPaintShowsTheFileAndEndsWithoutSaving()
    {
        State doc = newPlate();
        doc.fileDesc = "Opened at start";

        int paints = 0;
        QString shown;
        QStringList plugins{QStringLiteral("not looked at")};
        const qsizetype threads = threadCount();
        qsizetype threadsAtPaint = -1;
        StartOptions options;
        options.fileToOpen = writePlate(doc, m_files.filePath("start.kwl"));
        options.afterFirstPaint = [&] {
            ++paints;
            if (QWidget *w = mainWindow())
                shown = w->findChild<QLabel *>("LblFilename")->text() + '|' + w->findChild<QLineEdit *>("TxtFileDesc")->text()
                        + '|' + (w->focusWidget() ? w->focusWidget()->objectName() : QString());
            plugins = imagePlugins();
            threadsAtPaint = threadCount();
        };
        QCOMPARE(runTessar(*qApp, options), 0);
        QCOMPARE(paints, 1);
        QCOMPARE(shown, " Filename: start.kwl|Opened at start|GrdID0");
        QCOMPARE(plugins, QStringList());
        QCOMPARE(threadsAtPaint, threads);
        QVERIFY(!QFile::exists(settingsFilePath()));
        QCOMPARE(mainWindow(), nullptr);
    }

    // Whatever the stored window measures hold, the program comes up at
    // once, on the screen, with memory to spare. Each start is a real
    // process whose figures the probe reports at its first paint.
    void storedMeasuresOfAnyKindStartSmall_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::newRow("huge height") << QByteArray("Height=999999\n");
        QTest::newRow("huge everything") << QByteArray("Height=999999\nWidth=999999\nLeft=-999999\nTop=99999999999999999999\n");
        QTest::newRow("float limits") << QByteArray("Height=3.4e38\nWidth=1e38\nLeft=1e38\nTop=-3.4e38\n");
        QTest::newRow("not numbers") << QByteArray("Height=nan\nWidth=inf\nLeft=-1e400\nTop=abc\n");
        QTest::newRow("negative") << QByteArray("Height=-999999\nWidth=-5\nLeft=-1\nTop=-32768\n");
        QTest::newRow("long texts") << QByteArray("Company=" + QByteArray(20000, 'C') + "\nField 1=" + QByteArray(100000, 'F')
                                                 + "\nNumField=1e9\nWell Size=-1\nHeight=99999\n");
    }

    void storedMeasuresOfAnyKindStartSmall()
    {
        QFETCH(QByteArray, settings);
        QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath());
        writeBytes(settingsFilePath(), "[WNDO]\n" + settings);

        // The file the program is started with is where its history
        // begins: there is no empty document to undo back to.
        QProcess probe;
        probe.start(QStringLiteral(TESSAR_PROBE), {writePlate(newPlate(), m_files.filePath("given.kwl"))});
        // Far beyond the 2 s the start needs: only a hang fails here.
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitCode(), 0);
        const QJsonObject figures = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
        const auto rect = [&figures](const char *name) {
            const QJsonArray r = figures[QLatin1String(name)].toArray();
            return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect(0, 0, r[0].toInt(), r[1].toInt());
        };
        QCOMPARE(figures[QStringLiteral("undo")].toBool(true), false);
        const QRect screen = rect("available"), window = rect("client");
        QVERIFY2(!screen.isEmpty() && screen.contains(window), qPrintable(QStringLiteral("window %1,%2 %3x%4")
                     .arg(window.x()).arg(window.y()).arg(window.width()).arg(window.height())));
        QVERIFY(window.size().expandedTo(rect("image").size()) == window.size());
        const qint64 peakKb = figures[QStringLiteral("peakKb")].toInteger();
        QVERIFY2(peakKb > 0 && peakKb < 300 * 1024, qPrintable(QString::number(peakKb) + " kB"));
    }

    // A second start hands its file over, as a full path, and never shows a window.
    void secondStartHandsOver()
    {
        SingleInstance running;
        QVERIFY(running.start());
        running.listen();
        QSignalSpy opened(&running, &SingleInstance::openRequested);
        bool painted = false;
        StartOptions options;
        options.fileToOpen = "plates/run 7 \u00e9.kwl";
        options.afterFirstPaint = [&] { painted = true; };
        QCOMPARE(runTessar(*qApp, options), 0);
        QVERIFY(!painted);
        QCOMPARE(mainWindow(), nullptr);
        QTRY_COMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toString(), QDir::current().absoluteFilePath(options.fileToOpen));
    }

    // The window is painted before the program's icon is decoded, and has
    // every size of it straight after.
    void iconFollowsTheFirstPaint()
    {
        QApplication::setWindowIcon(QIcon());
        QList<QSize> sizes;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            QWidget *w = mainWindow();
            if (w && !QApplication::windowIcon().isNull()) {
                sizes = w->windowIcon().availableSizes();
                watch.stop();
                w->close();
            }
        });
        watch.start(5);
        QCOMPARE(runTessar(*qApp, StartOptions()), 0);
        QCOMPARE(sizes, QList<QSize>({{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
        QCOMPARE(imagePlugins(), QStringList());
        QFile::remove(settingsFilePath());
    }

    // The menu bar's overflow arrow is decoded only when first drawn; on a
    // window too narrow for the menu titles it is the style's own arrow.
    void narrowWindowShowsTheMenuOverflowArrow()
    {
        QImage shown;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto *w = qobject_cast<QMainWindow *>(mainWindow());
            if (!w || !w->isVisible())
                return;
            w->resize(120, w->height());
            auto *more = w->menuBar()->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
            if (more && more->isVisible()) {
                more->grab();
                shown = more->icon().pixmap(16).toImage();
                watch.stop();
                w->close();
            }
        });
        watch.start(5);
        QCOMPARE(runTessar(*qApp, StartOptions()), 0);
        auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
        QVERIFY(style);
        const QImage arrow = style->baseStyle()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage();
        QVERIFY(!arrow.isNull());
        QCOMPARE(shown, arrow);
        QFile::remove(settingsFilePath());
    }

    // The program draws a group box's frame from pieces of the style's own,
    // and a tall scroll bar a band at a time, as the style would, whatever
    // the size, caption or position: no colour is more than a step of
    // rounding off.
    void framesAndScrollBarsLookAsTheStyleDrawsThem()
    {
        QStyle *base = QStyleFactory::create(QStringLiteral("Fusion"));
        ProgramStyle program(QStyleFactory::create(QStringLiteral("Fusion")));
        const auto worstDifference = [&](QWidget &widget) {
            widget.setStyle(base);
            const QImage theirs = widget.grab().toImage();
            widget.setStyle(&program);
            const QImage ours = widget.grab().toImage();
            if (ours.size() != theirs.size())
                return 256;
            int worst = 0;
            for (int y = 0; y < ours.height(); ++y) {
                for (int x = 0; x < ours.width(); ++x) {
                    const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
                    worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                      std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
                }
            }
            return worst;
        };
        const QList<QSize> sizes{{10, 10}, {40, 30}, {200, 300}, {613, 771}, {1, 500}};
        for (const QString &caption : {QString(), QStringLiteral("Sample 1"), QStringLiteral("checkable")}) {
            for (const QSize &size : sizes) {
                QGroupBox box(caption == u"checkable" ? QString() : caption);
                box.setCheckable(caption == u"checkable");
                box.resize(size);
                const int worst = worstDifference(box);
                QVERIFY2(worst <= 1, qPrintable(QStringLiteral("%1 at %2x%3 is off by %4").arg(caption)
                                                    .arg(size.width()).arg(size.height()).arg(worst)));
            }
        }
        for (const int height : {40, 64, 65, 300, 771}) {
            for (const int value : {0, 37, 100}) {
                QScrollBar bar(Qt::Vertical);
                bar.setRange(0, 100);
                bar.setPageStep(20);
                bar.setValue(value);
                bar.resize(21, height);
                const int worst = worstDifference(bar);
                QVERIFY2(worst <= 1, qPrintable(QStringLiteral("a bar %1 high at %2 is off by %3").arg(height).arg(value).arg(worst)));
            }
        }
        delete base;
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

// Installs the build into a scratch prefix: the desktop must find the
// program, its manual, its icon and its file type in the usual places.
class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void installsEverything()
    {
        QTemporaryDir prefix;
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(CMAKE_COMMAND, {"--install", BUILD_DIR, "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());

        const auto installed = [&](const char *path) {
            QFile file(prefix.filePath(path));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        for (const char *path : {"bin/tessar", "share/applications/tessar.desktop", "share/icons/hicolor/48x48/apps/tessar.png"})
            QVERIFY2(!installed(path).isEmpty(), path);
        for (const char *xml : {"share/mime/packages/tessar.xml", "share/icons/hicolor/scalable/apps/tessar.svg"}) {
            QXmlStreamReader reader(installed(xml));
            while (!reader.atEnd())
                reader.readNext();
            QVERIFY2(!reader.hasError(), xml);
        }
        // The manual is found beside the program, in the build and installed.
        QVERIFY(QFile::exists(PROGRAM_DIR "/WNDO5.hlp"));
        const QByteArray manual = installed("bin/WNDO5.hlp");
        for (const char *topic : {"Copy All", "Fill Down all information", "Reset Color Defaults", "tessar-kwl"})
            QVERIFY2(manual.contains(topic), topic);
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"

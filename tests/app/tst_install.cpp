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

    QTemporaryDir m_prefix;

    QByteArray installed(const char *path) const
    {
        QFile file(m_prefix.filePath(QLatin1String(path)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void installsEverything()
    {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                                                      QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());

        for (const char *path : {"bin/tessar", "share/applications/tessar.desktop",
                                 "share/icons/hicolor/48x48/apps/tessar.png"})
            QVERIFY2(!installed(path).isEmpty(), path);
        // The manual is found beside the program, in the build and installed.
        QVERIFY(QFile::exists(QStringLiteral(PROGRAM_DIR "/WNDO5.hlp")));
        const QString manual = QString::fromUtf8(installed("bin/WNDO5.hlp"));
        for (const char *command : {"Copy All", "Fill Down all information", "Find Next", "Well Size",
                                    "Assign Operator Color to Segment", "Operator", "About Tessar",
                                    "List Samples by Key", "F9", "Reset Color Defaults", "tessar-kwl"})
            QVERIFY2(manual.contains(QLatin1String(command)), command);

        for (const char *xml : {"share/mime/packages/tessar.xml", "share/icons/hicolor/scalable/apps/tessar.svg"}) {
            QXmlStreamReader reader(installed(xml));
            while (!reader.atEnd())
                reader.readNext();
            QVERIFY2(!reader.hasError(), xml);
        }
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"

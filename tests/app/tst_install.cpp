#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

// Installs the build into a scratch prefix and checks that the desktop can
// find the program, its manual, its icon and its file type there.
class TestInstall : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_prefix;

    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(BUILD_DIR),
                       QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    void filesInTheirPlaces()
    {
        for (const char *path : {"bin/tessar", "bin/WNDO5.hlp", "share/applications/tessar.desktop",
                                 "share/icons/hicolor/scalable/apps/tessar.svg",
                                 "share/icons/hicolor/48x48/apps/tessar.png",
                                 "share/mime/packages/tessar.xml"})
            QVERIFY2(QFile::exists(installed(QLatin1String(path))), path);
        QCOMPARE(QImage(installed(QStringLiteral("share/icons/hicolor/256x256/apps/tessar.png"))).size(),
                 QSize(256, 256));
        // The build leaves the manual beside the program too.
        QVERIFY(QFile::exists(QStringLiteral(PROGRAM_DIR "/WNDO5.hlp")));
    }

    void desktopEntry()
    {
        QSettings entry(installed(QStringLiteral("share/applications/tessar.desktop")), QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("Name")).toString(), QStringLiteral("Tessar"));
        QCOMPARE(entry.value(QStringLiteral("Exec")).toString(), QStringLiteral("tessar %f"));
        QCOMPARE(entry.value(QStringLiteral("Icon")).toString(), QStringLiteral("tessar"));
        QVERIFY(entry.value(QStringLiteral("MimeType")).toString().startsWith(
            QStringLiteral("application/x-tessar-kwl")));
    }

    void fileTypeAndIconAreWellFormed()
    {
        QXmlStreamReader mime(read(installed(QStringLiteral("share/mime/packages/tessar.xml"))));
        QStringList globs, magic;
        while (!mime.atEnd()) {
            if (mime.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (mime.name() == QLatin1String("glob"))
                globs << mime.attributes().value(QLatin1String("pattern")).toString();
            if (mime.name() == QLatin1String("match"))
                magic << mime.attributes().value(QLatin1String("value")).toString();
        }
        QVERIFY2(!mime.hasError(), qPrintable(mime.errorString()));
        QCOMPARE(globs, QStringList{QStringLiteral("*.kwl")});
        QVERIFY(magic.contains(QStringLiteral("\"Corvant Tessar Version")));

        QXmlStreamReader svg(read(installed(QStringLiteral("share/icons/hicolor/scalable/apps/tessar.svg"))));
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    }

    void manualCoversEveryCommand()
    {
        const QString manual = QString::fromUtf8(read(installed(QStringLiteral("bin/WNDO5.hlp"))));
        for (const char *command :
             {"New", "Open", "Save As", "Print", "Exit", "Copy All", "Copy", "Paste",
              "Delete All of this Sample Information", "Delete this Item of Sample Information",
              "Fill Down this item of information", "Fill Down all information", "Find",
              "Find Next", "Well Size", "Color", "Assign Operator Color to Segment", "Configure",
              "Insert menu", "About Tessar", "List Samples by Key", "F3", "F4", "F9", "Page Up",
              "Reset Color Defaults", "Configure Software", "tessar-kwl", ".kwl"})
            QVERIFY2(manual.contains(QLatin1String(command)), command);
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"

#include "core/document.h"
#include "core/numbers.h"
#include "core/settings.h"
#include "core/state.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Tessar;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void numbers();
    void firstRun();
    void savedThenLoaded();
    void handEditedFile();
    void valuesTheDocumentCannotHold_data();
    void valuesTheDocumentCannotHold();
    void captionsBeyondTheRowCountStay();

private:
    QString iniPath() const { return mDir.filePath(QStringLiteral("Corvant/Corvant.ini")); }
    QTemporaryDir mDir;
};

namespace {

const QSizeF screen(19200, 14400);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

} // namespace

void TestSettings::init()
{
    qputenv("XDG_CONFIG_HOME", mDir.path().toLocal8Bit());
    QFile::remove(iniPath());
}

void TestSettings::numbers()
{
    QCOMPARE(leadingNumber(u"4600"), 4600.0);
    QCOMPARE(leadingNumber(u"  12.5 mm"), 12.5);
    QCOMPARE(leadingNumber(u"-3"), -3.0);
    QCOMPARE(leadingNumber(u"abc"), 0.0);
    QCOMPARE(leadingNumber(u""), 0.0);
    QCOMPARE(leadingNumber(u".5"), 0.5);
    QCOMPARE(leadingNumber(u"1e3x"), 1000.0);
    QCOMPARE(leadingNumber(u"&H10"), 16.0);
    QCOMPARE(leadingNumber(u"1e999"), 0.0);

    QCOMPARE(numberText(4600), QStringLiteral("4600"));
    QCOMPARE(numberText(-75), QStringLiteral("-75"));
    QCOMPARE(numberText(double(2231.21f)), QStringLiteral("2231.21"));
    QCOMPARE(numberText(0.5), QStringLiteral("0.5"));
    QCOMPARE(numberText(12345678.5), QStringLiteral("12345678.5"));
}

void TestSettings::firstRun()
{
    QCOMPARE(settingsFilePath(), iniPath());
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Corvant"), QStringLiteral("Corvant"));
    QCOMPARE(store.fileName(), iniPath());

    State state;
    const WindowPlacement window = LoadSettings(state, store, screen, QStringLiteral("/opt/tessar"));
    QCOMPARE(state.numField, 5.0f);
    QCOMPARE(state.company, QStringLiteral("HALV"));
    QCOMPARE(state.fieldName[1], QStringLiteral("description2"));
    QCOMPARE(state.fieldName[4], QStringLiteral("description5"));
    QVERIFY(state.keyName[1].isEmpty());
    QCOMPARE(state.colorsOn, QStringLiteral("yes"));
    QCOMPARE(state.wellCount, 96);
    QCOMPARE(state.profileDir, QStringLiteral("/opt/tessar"));
    QCOMPARE(window.width, 6000.0);
    QCOMPARE(window.height, 4600.0);
    QCOMPARE(window.left, (19200.0 - 6000) / 2);
    QCOMPARE(window.top, (14400.0 - 4600) / 2);
    // Reading writes nothing.
    QVERIFY(!QFile::exists(iniPath()));
}

void TestSettings::savedThenLoaded()
{
    State state;
    applyFirstRunDefaults(state);
    newDocument(state);
    state.numField = 3;
    state.company = QStringLiteral("Smith, Jones & Co");
    state.fieldName[1] = QStringLiteral("Sample ID");
    state.fieldName[2] = QStringLiteral("Conc = 5%");
    state.keyName[2] = QStringLiteral("Blank");
    state.colorsOn = QStringLiteral("no");
    state.wellCount = 384;
    {
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        SaveSettings(state, store, {150.5, -30, 9000, 7200});
    }

    const QByteArray ini = readAll(iniPath());
    QVERIFY(ini.contains("[WNDO]"));
    QVERIFY(ini.contains("Width=9000\n"));
    QVERIFY(ini.contains("Left=150.5\n"));
    QVERIFY(ini.contains("Top=-30\n"));
    QVERIFY(ini.contains("NumField=3\n"));
    QVERIFY(!ini.contains("[Main]"));   // the profile folder is only ever read

    State back;
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    const WindowPlacement window = LoadSettings(back, store, screen, QString());
    QCOMPARE(back.numField, 3.0f);
    QCOMPARE(back.company, state.company);
    QCOMPARE(back.fieldName[0], QStringLiteral("Key"));
    QCOMPARE(back.fieldName[2], state.fieldName[2]);
    QCOMPARE(back.keyName[2], QStringLiteral("Blank"));
    QCOMPARE(back.colorsOn, QStringLiteral("no"));
    QCOMPARE(back.wellCount, 384);
    QCOMPARE(window.left, 150.5);
    QCOMPARE(window.top, -30.0);
    QCOMPARE(window.width, 9000.0);
    QCOMPARE(window.height, 7200.0);
}

void TestSettings::handEditedFile()
{
    QDir().mkpath(mDir.filePath(QStringLiteral("Corvant")));
    writeFile(iniPath(),
              "[Main]\nProfile=/data/plates\n"
              "[WNDO]\nNumField=4\nCompany=Acme, Inc.\nField 1=Sample\nField%202=Volume\n"
              "Operator 1=Blank\nWell Size=24\nHeight=5000.5\nWidth=abc\nLeft=12px\n");
    State state;
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    const WindowPlacement window = LoadSettings(state, store, screen, QStringLiteral("/opt"));
    QCOMPARE(state.profileDir, QStringLiteral("/data/plates"));
    QCOMPARE(state.numField, 4.0f);
    QCOMPARE(state.company, QStringLiteral("Acme, Inc."));
    QCOMPARE(state.fieldName[1], QStringLiteral("Sample"));
    QCOMPARE(state.fieldName[2], QStringLiteral("Volume"));
    QCOMPARE(state.fieldName[3], QStringLiteral("description4"));
    QCOMPARE(state.keyName[1], QStringLiteral("Blank"));
    QCOMPARE(state.wellCount, 24);
    QCOMPARE(window.height, 5000.5);
    QCOMPARE(window.width, 0.0);     // not a number
    QCOMPARE(window.left, 12.0);
    QCOMPARE(window.top, (14400.0 - 5000.5f) / 2);
}

void TestSettings::valuesTheDocumentCannotHold_data()
{
    QTest::addColumn<QString>("numField");
    QTest::addColumn<QString>("wellSize");
    QTest::addColumn<float>("expectedRows");
    QTest::addColumn<int>("expectedWells");

    QTest::newRow("usable") << "10" << "1536" << 10.0f << 1536;
    QTest::newRow("too many rows, odd plate") << "11" << "100" << 5.0f << 96;
    QTest::newRow("too few rows") << "1" << "0" << 5.0f << 96;
    QTest::newRow("fraction") << "4.5" << "383.6" << 5.0f << 384;
    QTest::newRow("words") << "many" << "large" << 5.0f << 96;
    QTest::newRow("huge") << "1e30" << "99999999999" << 5.0f << 96;
}

void TestSettings::valuesTheDocumentCannotHold()
{
    QFETCH(QString, numField);
    QFETCH(QString, wellSize);
    QFETCH(float, expectedRows);
    QFETCH(int, expectedWells);
    {
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        store.setValue(QStringLiteral("WNDO/NumField"), numField);
        store.setValue(QStringLiteral("WNDO/Well Size"), wellSize);
    }
    State state;
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    LoadSettings(state, store, screen, QString());
    QCOMPARE(state.numField, expectedRows);
    QCOMPARE(state.wellCount, expectedWells);
    newDocument(state);
    QCOMPARE(state.nRows * state.nCols, expectedWells);
}

void TestSettings::captionsBeyondTheRowCountStay()
{
    {
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        store.setValue(QStringLiteral("WNDO/NumField"), QStringLiteral("3"));
        store.setValue(QStringLiteral("WNDO/Field 3"), QStringLiteral("kept"));
        store.setValue(QStringLiteral("WNDO/Field 2"), QStringLiteral("two"));
    }
    State state;
    {
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        LoadSettings(state, store, screen, QString());
    }
    QVERIFY(state.fieldName[3].isEmpty());
    state.fieldName[2] = QStringLiteral("changed");
    {
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        SaveSettings(state, store, {});
    }
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    QCOMPARE(store.value(QStringLiteral("WNDO/Field 3")).toString(), QStringLiteral("kept"));
    QCOMPARE(store.value(QStringLiteral("WNDO/Field 2")).toString(), QStringLiteral("changed"));
    QCOMPARE(store.allKeys().size(), 18);  // every key written, plus the one left alone
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"

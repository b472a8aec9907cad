#include "coretest.h"

#include "core/numbers.h"
#include "core/settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Tessar;

class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    QString iniPath() const { return mDir.filePath(QStringLiteral("Corvant/Corvant.ini")); }
    WindowPlacement load(State &state, const QString &programDir = QString())
    {
        QSettings store(settingsFilePath(), QSettings::IniFormat);
        return LoadSettings(state, store, QSizeF(19200, 14400), programDir);
    }

private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", mDir.path().toLocal8Bit());
        QFile::remove(iniPath());
    }

    void numbers()
    {
        QCOMPARE(leadingNumber(u"1e3x"), 1000.0);
        QCOMPARE(leadingNumber(u"&H10"), 16.0);
        QCOMPARE(leadingNumber(u"1e999"), 0.0);
        QCOMPARE(numberText(double(2231.21f)), QStringLiteral("2231.21"));
        QCOMPARE(numberText(12345678.5), QStringLiteral("12345678.5"));
    }

    void firstRun()
    {
        QCOMPARE(settingsFilePath(), iniPath());
        State state;
        const WindowPlacement window = load(state, QStringLiteral("/opt/tessar"));
        QCOMPARE(state.numField, 5.0f);
        QCOMPARE(state.fieldName[4], QStringLiteral("description5"));
        QCOMPARE(state.wellCount, 96);
        QCOMPARE(state.profileDir, QStringLiteral("/opt/tessar"));
        QCOMPARE(window.left, (19200.0 - 6000) / 2);
        QCOMPARE(window.top, (14400.0 - 4600) / 2);
        QVERIFY(!QFile::exists(iniPath()));   // reading writes nothing
    }

    void savedThenLoaded()
    {
        State state = plate();
        state.numField = 3;
        state.company = QStringLiteral("Smith, Jones & Co");
        state.fieldName[2] = QStringLiteral("Conc = 5%");
        state.keyName[2] = QStringLiteral("Blank");
        state.colorsOn = QStringLiteral("no");
        state.wellCount = 384;
        {
            QSettings store(settingsFilePath(), QSettings::IniFormat);
            store.setValue(QStringLiteral("WNDO/Field 3"), QStringLiteral("kept"));
            SaveSettings(state, store, {150.5, -30, 9000, 7200});
        }
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ini = file.readAll();
        QVERIFY(ini.contains("Left=150.5\n") && ini.contains("NumField=3\n"));
        QVERIFY(!ini.contains("[Main]"));   // the profile folder is only ever read
        // Captions beyond the rows in use are left as they were.
        QVERIFY(ini.contains("Field%203=kept\n"));

        State back;
        const WindowPlacement window = load(back);
        QCOMPARE(back.numField, 3.0f);
        QCOMPARE(back.company, state.company);
        QCOMPARE(back.fieldName[2], state.fieldName[2]);
        QVERIFY(back.fieldName[3].isEmpty());
        QCOMPARE(back.keyName[2], QStringLiteral("Blank"));
        QCOMPARE(back.colorsOn, QStringLiteral("no"));
        QCOMPARE(back.wellCount, 384);
        QCOMPARE(window.top, -30.0);
    }

    void handEditedFile()
    {
        QDir().mkpath(mDir.filePath(QStringLiteral("Corvant")));
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Main]\nProfile=/data/plates\n"
                   "[WNDO]\nNumField=4\nCompany=Acme, Inc.\nField%202=Volume\n"
                   "Operator 1=Blank\nWell Size=24\nHeight=5000.5\nWidth=abc\nLeft=12px\n");
        file.close();
        State state;
        const WindowPlacement window = load(state, QStringLiteral("/opt"));
        QCOMPARE(state.profileDir, QStringLiteral("/data/plates"));
        QCOMPARE(state.numField, 4.0f);
        QCOMPARE(state.company, QStringLiteral("Acme, Inc."));
        QCOMPARE(state.fieldName[2], QStringLiteral("Volume"));
        QCOMPARE(state.fieldName[3], QStringLiteral("description4"));
        QCOMPARE(state.keyName[1], QStringLiteral("Blank"));
        QCOMPARE(state.wellCount, 24);
        QCOMPARE(window.width, 0.0);   // not a number
        QCOMPARE(window.left, 12.0);
        QCOMPARE(window.top, (14400.0 - 5000.5f) / 2);

        // Values the document cannot hold fall back to the defaults.
        const QStringList rows = {"10", "11", "1", "4.5", "many", "1e30"};
        const QStringList wells = {"1536", "100", "0", "383.6", "large", "99999999999"};
        for (qsizetype i = 0; i < rows.size(); ++i) {
            {
                QSettings store(settingsFilePath(), QSettings::IniFormat);
                store.setValue(QStringLiteral("WNDO/NumField"), rows[i]);
                store.setValue(QStringLiteral("WNDO/Well Size"), wells[i]);
            }
            load(state);
            QCOMPARE(state.numField, i == 0 ? 10.0f : 5.0f);
            QCOMPARE(state.wellCount, i == 0 ? 1536 : i == 3 ? 384 : 96);
        }
    }
};

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"

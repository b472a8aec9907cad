#include "coretest.h"

#include "core/document/numbers.h"
#include "core/document/settings.h"

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
        QCOMPARE(QStringList({state.fieldName[4], state.profileDir}), QStringList({"description5", "/opt/tessar"}));
        QCOMPARE(QList<double>({state.numField, double(state.wellCount), window.left, window.top}),
                 QList<double>({5, 96, (19200.0 - 6000) / 2, (14400.0 - 4600) / 2}));
        QVERIFY(!QFile::exists(iniPath()));   // reading writes nothing
    }

    void savedThenLoaded()
    {
        State state = newPlate();
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
        QCOMPARE(QStringList({back.company, back.fieldName[2], back.fieldName[3], back.keyName[2], back.colorsOn}),
                 QStringList({state.company, state.fieldName[2], QString(), QStringLiteral("Blank"), QStringLiteral("no")}));
        QCOMPARE(QList<double>({back.numField, double(back.wellCount), window.top}), QList<double>({3, 384, -30}));
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
        QCOMPARE(QStringList({state.profileDir, state.company, state.fieldName[2], state.fieldName[3], state.keyName[1]}),
                 QStringList({"/data/plates", "Acme, Inc.", "Volume", "description4", "Blank"}));
        QCOMPARE(QList<double>({state.numField, double(state.wellCount), window.width, window.left, window.top}),
                 QList<double>({4, 24, 0 /* not a number */, 12, (14400.0 - 5000.5f) / 2}));

        // Values the document cannot hold fall back to the defaults.
        // The bounds themselves are kept.
        const QStringList rows = {"10", "2", "11", "1", "4.5", "many", "1e30"};
        const QStringList wells = {"1536", "24", "100", "0", "383.6", "large", "99999999999"};
        const QList<float> keptRows = {10, 2, 5, 5, 5, 5, 5};
        const QList<int> keptWells = {1536, 24, 96, 96, 384, 96, 96};
        for (qsizetype i = 0; i < rows.size(); ++i) {
            {
                QSettings store(settingsFilePath(), QSettings::IniFormat);
                store.setValue(QStringLiteral("WNDO/NumField"), rows[i]);
                store.setValue(QStringLiteral("WNDO/Well Size"), wells[i]);
            }
            load(state);
            QCOMPARE(state.numField, keptRows[i]);
            QCOMPARE(state.wellCount, keptWells[i]);
        }
    }
};

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"

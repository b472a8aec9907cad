#include "soakrunner.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The whole window under a long random sequence of user actions, from a
// fixed seed: no input crashes it, hangs it or leaves the document and
// what the window shows of it apart. tessar-soak runs the same for longer.
class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void twoThousandActions()
    {
        SoakRunner::installReports();
        QTemporaryDir folder(QDir::homePath() + QStringLiteral("/soak-XXXXXX"));
        QVERIFY(folder.isValid());
        SoakOptions options;
        options.seed = 20250611;
        options.sourceDir = qEnvironmentVariable("TESSAR_SOURCE_DIR", QStringLiteral(TESSAR_DEFAULT_SOURCE_DIR));
        options.folder = folder.path();
        const SoakResult result = SoakRunner(options).run();
        if (!result.ok)
            QFAIL(qPrintable(result.report()));
        qInfo("%s", qPrintable(result.report()));
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"

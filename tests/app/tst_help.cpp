#include "app/helpfile.h"
#include "app/helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace Tessar;

class TestHelp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    // A folder under the scratch root, holding a manual or not; returns its path.
    QString dir(const QString &name, bool withHelp)
    {
        const QString path = m_root.filePath(name);
        QDir().mkpath(path);
        QFile file(path + QStringLiteral("/WNDO5.hlp"));
        if (withHelp && file.open(QIODevice::WriteOnly))
            file.write("<html><head><title>Manual " + name.toUtf8() + "</title></head><body>File menu</body></html>");
        return path;
    }

private slots:
    void searchOrder()
    {
        const QString program = dir(QStringLiteral("prog"), true);
        const QString none = dir(QStringLiteral("none"), false);
        const QString b = dir(QStringLiteral("b"), true);
        const QString c = dir(QStringLiteral("c"), true);
        const QString path = none + QLatin1Char(':') + b + QLatin1Char(':') + c;
        const QString help = QStringLiteral("/WNDO5.hlp");

        QCOMPARE(findHelpFileIn(program, path), program + help);
        QCOMPARE(findHelpFileIn(none, path), b + help);
        QCOMPARE(findHelpFileIn(none, QStringLiteral("/no/such/drive:") + c + QLatin1Char('/')), c + help);
        QCOMPARE(findHelpFileIn(none, QString()), QString());
        // A folder that merely carries the name is no manual.
        QDir().mkpath(none + help);
        QCOMPARE(findHelpFileIn(none, none), QString());

        // Empty entries, wherever they stand, are the current folder.
        const QString here = QDir::currentPath() + QLatin1Char('/');
        QCOMPARE(helpSearchDirs(QStringLiteral("/opt/t"), QStringLiteral(":/x/::/y:")),
                 (QStringList{"/opt/t/", here, "/x/", here, "/y/", here}));
    }

    void startupSearchAndWarning()
    {
        // The test program's own folder holds no manual, so PATH decides.
        const QString b = dir(QStringLiteral("path-only"), true);
        qputenv("PATH", QFile::encodeName(dir(QStringLiteral("none"), false) + QLatin1Char(':') + b));
        QVERIFY(FindHelpFile());
        QCOMPARE(helpFilePath(), b + QStringLiteral("/WNDO5.hlp"));

        QMessageBox *box = nullptr;
        QString shown;
        QTimer::singleShot(0, [&] {
            box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown = box->windowTitle() + QLatin1Char('|') + box->text();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            box->accept();
        });
        warnHelpMissing(nullptr);
        QVERIFY(shown.startsWith(QStringLiteral("Larkspur help not available|WNDO5.hlp not found in your path.\r\n\r\nWindows")));
        QVERIFY(shown.endsWith(QStringLiteral("your PATH if you wish to obtain help while running Larkspur Programmer.")));
    }

    void helpWindowIsReusedAndSearchesEachTime()
    {
        qputenv("PATH", QFile::encodeName(dir(QStringLiteral("empty"), false)));
        HelpWindow::showContents(nullptr);
        HelpWindow *window = HelpWindow::instance();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("/empty/")));

        // Put in place while the program runs, then removed, then back.
        const QString later = dir(QStringLiteral("later"), true);
        window->close();
        qputenv("PATH", QFile::encodeName(later));
        for (bool present : {true, false, true}) {
            if (!present)
                QFile::remove(later + QStringLiteral("/WNDO5.hlp"));
            dir(QStringLiteral("later"), present);
            HelpWindow::showContents(nullptr);
            QCOMPARE(HelpWindow::instance(), window);
            QVERIFY(window->isVisible());
            QCOMPARE(window->browser()->toPlainText().contains(QStringLiteral("File menu")), present);
        }
        QCOMPARE(window->windowTitle(), QStringLiteral("Manual later"));
        delete window;
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

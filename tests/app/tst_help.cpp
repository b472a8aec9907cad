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

private:
    QTemporaryDir m_root;

    QString dir(const QString &name, bool withHelp)
    {
        const QString path = m_root.path() + QLatin1Char('/') + name;
        QDir().mkpath(path);
        if (withHelp) {
            QFile file(path + QStringLiteral("/WNDO5.hlp"));
            if (file.open(QIODevice::WriteOnly))
                file.write("<html><head><title>Manual " + name.toUtf8() + "</title></head>"
                           "<body><p>File menu</p></body></html>");
        }
        return path;
    }

private slots:
    void searchOrder()
    {
        const QString program = dir(QStringLiteral("prog"), true);
        const QString a = dir(QStringLiteral("a"), false);
        const QString b = dir(QStringLiteral("b"), true);
        const QString c = dir(QStringLiteral("c"), true);
        const QString path = a + QLatin1Char(':') + b + QLatin1Char(':') + c;

        // Beside the program wins, whatever PATH holds.
        QCOMPARE(findHelpFileIn(program, path), program + QStringLiteral("/WNDO5.hlp"));
        // Otherwise the first PATH entry that holds it, skipping those that don't.
        const QString elsewhere = dir(QStringLiteral("empty-prog"), false);
        QCOMPARE(findHelpFileIn(elsewhere, path), b + QStringLiteral("/WNDO5.hlp"));
        QCOMPARE(findHelpFileIn(elsewhere, a), QString());
        QCOMPARE(findHelpFileIn(elsewhere, QString()), QString());
        QCOMPARE(findHelpFileIn(QString(), QStringLiteral("/no/such/drive:") + c),
                 c + QStringLiteral("/WNDO5.hlp"));
        // A folder that merely carries the name is no help file.
        QDir().mkpath(a + QStringLiteral("/WNDO5.hlp"));
        QCOMPARE(findHelpFileIn(elsewhere, a), QString());
    }

    void pathEntriesAndSlashes()
    {
        QCOMPARE(helpSearchDirs(QStringLiteral("/opt/t"), QStringLiteral("/x/:/y")),
                 (QStringList{"/opt/t/", "/x/", "/y/"}));
        // Leading, doubled and trailing colons each stand for the current folder.
        const QString here = QDir::currentPath() + QLatin1Char('/');
        QCOMPARE(helpSearchDirs(QString(), QStringLiteral(":/x::/y:")),
                 (QStringList{here, "/x/", here, "/y/", here}));

        const QString b = dir(QStringLiteral("slash"), true);
        QCOMPARE(findHelpFileIn(QString(), b + QLatin1Char('/')), b + QStringLiteral("/WNDO5.hlp"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(b);
        const QString found = findHelpFileIn(QString(), QStringLiteral("/none::"));
        QDir::setCurrent(previous);
        QCOMPARE(found, b + QStringLiteral("/WNDO5.hlp"));
    }

    void startupSearchRemembersWhatItFound()
    {
        // The test program's own folder holds no manual, so PATH decides.
        const QString b = dir(QStringLiteral("path-only"), true);
        qputenv("PATH", QFile::encodeName(dir(QStringLiteral("none"), false) + QLatin1Char(':') + b));
        QVERIFY(FindHelpFile());
        QCOMPARE(helpFilePath(), b + QStringLiteral("/WNDO5.hlp"));
        qputenv("PATH", "/no/such/folder");
        QVERIFY(!FindHelpFile());
        QCOMPARE(helpFilePath(), b + QStringLiteral("/WNDO5.hlp"));
    }

    void missingHelpWarning()
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->accept();
        });
        warnHelpMissing(nullptr);
        QCOMPARE(title, QStringLiteral("Larkspur help not available"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::Ok);
        QVERIFY(text.startsWith(QStringLiteral("WNDO5.hlp not found in your path.\r\n\r\nWindows searches")));
        QVERIFY(text.endsWith(QStringLiteral("included in your PATH if you wish to obtain help while running Larkspur Programmer.")));
    }

    void helpWindowIsReusedAndSearchesAgain()
    {
        qputenv("PATH", QFile::encodeName(dir(QStringLiteral("nothing"), false)));
        HelpWindow::showContents(nullptr);
        HelpWindow *window = HelpWindow::instance();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("nothing/")));

        // Installed while the program runs: the same window now shows it.
        const QString later = dir(QStringLiteral("later"), true);
        window->close();
        qputenv("PATH", QFile::encodeName(later));
        HelpWindow::showContents(nullptr);
        QCOMPARE(HelpWindow::instance(), window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Manual later"));
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("File menu")));

        // Gone again: back to the explanation, and back once more.
        QFile::remove(later + QStringLiteral("/WNDO5.hlp"));
        HelpWindow::showContents(nullptr);
        QVERIFY(!window->browser()->toPlainText().contains(QStringLiteral("File menu")));
        dir(QStringLiteral("later"), true);
        HelpWindow::showContents(nullptr);
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("File menu")));
        delete window;
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

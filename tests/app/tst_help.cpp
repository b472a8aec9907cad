#include "app/helpfile.h"
#include "app/helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace Tessar;

// The Help menu: the manual, searched for anew each time, and About's system information.
class TestHelp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    // A folder under the scratch root, with or without a manual in it.
    QString dir(const QString &name, bool withHelp)
    {
        const QString path = m_root.filePath(name);
        QDir().mkpath(path);
        QFile file(path + "/WNDO5.hlp");
        if (!withHelp)
            file.remove();
        else if (file.open(QIODevice::WriteOnly))
            file.write("<html><head><title>Manual " + name.toUtf8() + "</title></head><body>File menu</body></html>");
        return path;
    }

private slots:
    // Beside the program first, then along PATH, where an empty entry is the
    // root folder, never the current one; a folder that merely carries the
    // name is no manual.
    void searchOrder()
    {
        QCOMPARE(helpSearchDirs("/opt/t", ":/x/::/y:"), (QStringList{"/opt/t/", "/opt/share/tessar/", "/", "/x/", "/", "/y/", "/"}));
        if (QFile::exists("/WNDO5.hlp"))
            QSKIP("the root folder holds a WNDO5.hlp");
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir("current", true)));
        const QString found = findHelpFileIn(QString(), ":" + m_root.filePath("elsewhere") + "::");
        QDir::setCurrent(current);
        QCOMPARE(found, QString());
        const QString program = dir("prog", true), none = dir("none", false), b = dir("b", true);
        QDir().mkpath(none + "/WNDO5.hlp");
        QCOMPARE(findHelpFileIn(program, none + ':' + b), program + "/WNDO5.hlp");
        QCOMPARE(findHelpFileIn(none, "/no/such/drive:" + none + ':' + b), b + "/WNDO5.hlp");
        QCOMPARE(findHelpFileIn(none, none), QString());
        qputenv("PATH", QFile::encodeName(none + ':' + b));
        QVERIFY(FindHelpFile());
        QCOMPARE(helpFilePath(), b + "/WNDO5.hlp");
    }

    // An installed program finds the manual in its data folder
    // (bin/../share/tessar) before PATH, and a copy beside it before that.
    void installedLayoutFindsDataFolder()
    {
        const QString bin = dir("usr/bin", false), data = dir("usr/share/tessar", true), path = dir("path", true);
        QCOMPARE(findHelpFileIn(bin, path), data + "/WNDO5.hlp");
        QCOMPARE(findHelpFileIn(bin + '/', path), data + "/WNDO5.hlp");
        dir("usr/bin", true);
        QCOMPARE(findHelpFileIn(bin, path), bin + "/WNDO5.hlp");
        dir("usr/bin", false);
        dir("usr/share/tessar", false);
        QCOMPARE(findHelpFileIn(bin, path), path + "/WNDO5.hlp");
    }

    // The manual may be put in place, removed and restored while the program runs.
    void helpWindowIsReusedAndSearchesEachTime()
    {
        qputenv("PATH", QFile::encodeName(m_root.filePath("later")));
        HelpWindow *window = nullptr;
        for (bool present : {false, true, false, true}) {
            dir("later", present);
            HelpWindow::showContents(nullptr);
            if (!window)
                window = HelpWindow::instance();
            QCOMPARE(HelpWindow::instance(), window);
            QVERIFY(window->isVisible());
            QVERIFY(window->browser()->toPlainText().contains(present ? "File menu" : "/later/"));
            window->close();
        }
        QCOMPARE(window->windowTitle(), "Manual later");
        delete window;
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

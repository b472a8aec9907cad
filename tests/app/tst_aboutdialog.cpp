#include "reports/aboutdialog.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using Tessar::AboutDialog;

class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void labelsAreSetFromTheProgram()
    {
        AboutDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tessar"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 5.1.3"));
        dialog.show();
        dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!dialog.isVisible());
    }

    void noToolInstalled()
    {
        AboutDialog dialog;
        dialog.setSysInfoTools({QStringLiteral("tessar-no-such-tool"), QStringLiteral("/no/such/tool")});
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                QCOMPARE(box->icon(), QMessageBox::NoIcon);
                box->accept();
            }
        });
        QVERIFY(!dialog.StartSysInfo());
        QCOMPARE(shown, QStringLiteral("System Information Is Unavailable At This Time"));
    }

    void firstInstalledToolStarts()
    {
        AboutDialog dialog;
        dialog.setSysInfoTools({QStringLiteral("tessar-no-such-tool"), QStringLiteral("true")});
        QVERIFY(dialog.StartSysInfo());
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"

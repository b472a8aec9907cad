#include "reports/aboutdialog.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Tessar::AboutDialog;

class TestAboutDialog : public QObject
{
    Q_OBJECT

private:
    static QString label(const AboutDialog &dialog, const char *name)
    {
        const auto *widget = dialog.findChild<QLabel *>(QLatin1String(name));
        return widget ? widget->text() : QStringLiteral("<missing>");
    }

private slots:
    void texts()
    {
        AboutDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Tessar"));
        QCOMPARE(label(dialog, "lblTitle"), QStringLiteral("Corvant Tessar"));
        QCOMPARE(label(dialog, "lblVersion"), QStringLiteral("Version 5.1.3"));
        QCOMPARE(label(dialog, "lblDescription"), QStringLiteral("Accessory Automation Software"));
        QVERIFY(label(dialog, "Lbl_HALV").startsWith(QChar(0x00A9)));
        const auto *picIcon = dialog.findChild<QLabel *>(QStringLiteral("picIcon"));
        QVERIFY(picIcon && !picIcon->pixmap().isNull());
        const auto *text1 = dialog.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        QVERIFY(text1 && text1->isReadOnly() && text1->toPlainText().contains(QLatin1Char('\n')));
        QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("Line1")));
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->text(),
                 QStringLiteral("&System Info..."));

        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        dialog.show();
        ok->click();
        QVERIFY(!dialog.isVisible());
    }

    void noToolInstalled()
    {
        AboutDialog dialog;
        dialog.setSysInfoTools({QStringLiteral("tessar-no-such-tool"), QStringLiteral("/no/such/tool")});
        QString text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->text();
            icon = box->icon();
            QCOMPARE(box->standardButtons(), QMessageBox::Ok);
            box->accept();
        });
        QVERIFY(!dialog.StartSysInfo());
        QCOMPARE(text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(icon, QMessageBox::NoIcon);
    }

    void firstInstalledToolStarts()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("started"));
        const QString tool = dir.filePath(QStringLiteral("sysinfo"));
        QFile script(tool);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho $0 > '" + QFile::encodeName(marker) + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        AboutDialog dialog;
        dialog.setSysInfoTools({QStringLiteral("tessar-no-such-tool"), tool});
        QVERIFY(dialog.StartSysInfo());
        QTRY_VERIFY(QFile::exists(marker));
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"

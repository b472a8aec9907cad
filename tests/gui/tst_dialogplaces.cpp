#include "windowdriver.h"

#include <QPushButton>
#include <QScreen>

using namespace Tessar;

class TestDialogPlaces : public QObject, WindowDriver
{
    Q_OBJECT

private slots:
    void init() { start(QSize(500, 400)); }
    void cleanup() { stop(); }

    // Each dialog's outer frame sits in the middle of the screen's free
    // area, wherever the main window is.
    void everyDialogOpensInTheMiddleOfTheScreen()
    {
        window->move(0, 0);
        const QRect area = window->screen()->availableGeometry();
        const auto menu = [this](const char *title, const char *entry) {
            return [this, title, entry] { choose({QLatin1String(title), QLatin1String(entry)}); };
        };
        const struct { const char *name; std::function<void()> open; } dialogs[] = {
            {"Config", menu("mnuSetup", "mnuSetupConfigure")},
            {"Colorfrm", menu("mnuSetup", "mnuSetupColor")},
            {"FindFrm", menu("mnuSearch", "mnuSearchFind")},
            {"Stat", [this] { QTest::mouseClick(child<QPushButton>(QStringLiteral("CmdList")), Qt::LeftButton); }},
            {"frmAbout", menu("mnuHelp", "mnuHelpAbout")},
        };
        for (const auto &[name, open] : dialogs) {
            QRect outer, inner;
            whenModal(QLatin1String(name), [&outer, &inner](QWidget *dialog) {
                outer = dialog->frameGeometry();
                inner = dialog->geometry();
                if (activated(dialog))
                    press(Qt::Key_Escape);
                else
                    dialog->close();
            });
            open();
            QCOMPARE(unanswered(), 0);
            QVERIFY2(outer != inner, name);   // the frame is what is centred
            QVERIFY2(std::abs(2 * outer.left() + outer.width() - 2 * area.left() - area.width()) <= 2
                         && std::abs(2 * outer.top() + outer.height() - 2 * area.top() - area.height()) <= 2,
                     name);
            window->activateWindow();
            QVERIFY(activated(window.get()));
        }
    }
};

QTEST_MAIN(TestDialogPlaces)
#include "tst_dialogplaces.moc"

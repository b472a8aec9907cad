#include "reports/aboutdialog.h"

#include "platform/closeonly.h"
#include "platform/programicon.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QVersionNumber>

#include <utility>

namespace Tessar {

namespace {

const QString ProgramTitle = QStringLiteral("Tessar");

const QString SupportText = QStringLiteral(
    "For help with this software, contact Corvant Customer Support.\n"
    "Please have the version number above and the plate format you use at hand.\n"
    "\n"
    "E-mail: support@corvant.example\n"
    "Telephone: +1 555 0100 (weekdays, 8:00 to 17:00)\n"
    "Web: https://corvant.example/support");

const QString MakerLine = QStringLiteral(" Corvant Laboratory Systems. All rights reserved.");

QString versionText()
{
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(TESSAR_VERSION));
    return QStringLiteral("Version %1.%2.%3")
        .arg(version.majorVersion())
        .arg(version.minorVersion())
        .arg(version.microVersion());
}

QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent), m_sysInfoTools(defaultSysInfoTools())
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + ProgramTitle);

    auto *picIcon = namedLabel(QStringLiteral("picIcon"), QString(), this);
    picIcon->setPixmap(programIcon().pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *lblTitle = namedLabel(QStringLiteral("lblTitle"), QStringLiteral("Corvant ") + ProgramTitle, this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto *lblVersion = namedLabel(QStringLiteral("lblVersion"), versionText(), this);
    auto *lblDescription = namedLabel(QStringLiteral("lblDescription"),
                                      QStringLiteral("Accessory Automation Software"), this);

    auto *line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);

    auto *text1 = new QPlainTextEdit(SupportText, this);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setReadOnly(true);
    text1->setFixedHeight(text1->fontMetrics().lineSpacing() * 7);

    auto *lblMaker = namedLabel(QStringLiteral("Lbl_HALV"), QChar(0x00A9) + MakerLine, this);

    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });

    auto *names = new QVBoxLayout;
    names->addWidget(lblTitle);
    names->addWidget(lblVersion);
    names->addWidget(lblDescription);
    names->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(12);
    top->addLayout(names, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblMaker, 1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line1);
    layout->addWidget(text1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setMinimumWidth(460);
    offerCloseOnly(this);
}

QStringList AboutDialog::defaultSysInfoTools()
{
    // Graphical tools only: the box is opened from a window, and a terminal
    // program started from here would have nowhere to show itself.
    return {
        QStringLiteral("hardinfo2"),            // system profiler and benchmark
        QStringLiteral("hardinfo"),             // its earlier name
        QStringLiteral("kinfocenter"),          // the KDE information centre
        QStringLiteral("cpu-x"),                // processor, memory and board details
        QStringLiteral("lshw-gtk"),             // hardware lister, graphical front end
        QStringLiteral("gnome-system-monitor"), // at least the system overview
    };
}

bool AboutDialog::StartSysInfo()
{
    for (const QString &tool : std::as_const(m_sysInfoTools)) {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            continue;
        if (QProcess::startDetached(program, {}))
            return true;
    }
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle,
                    QStringLiteral("System Information Is Unavailable At This Time"),
                    QMessageBox::Ok, this);
    box.exec();
    return false;
}

} // namespace Tessar

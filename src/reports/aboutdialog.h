#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace Tessar {

// Help > About: the program's name, version and maker, and a way to the
// computer's system-information tool.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // The system-information tools tried, first found first. Each entry is
    // a program name looked up on PATH, or a full path.
    static QStringList defaultSysInfoTools();
    void setSysInfoTools(const QStringList &tools) { m_sysInfoTools = tools; }

    // Starts the first tool that is installed; otherwise says that none is.
    // Returns whether a tool was started.
    bool StartSysInfo();

private:
    QStringList m_sysInfoTools;
};

} // namespace Tessar

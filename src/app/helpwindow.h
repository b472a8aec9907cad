#pragma once

#include <QWidget>

class QTextBrowser;

namespace Tessar {

// The program's own help viewer. It looks for the help file each time it is
// asked, so a file copied into place while the program runs is found.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // Shows the help contents in the one help window, creating it on first
    // use and bringing it to the front after that.
    static void showContents(QWidget *parent);

    // The window showContents() uses, if it exists.
    static HelpWindow *instance();

    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the file, or explains in the window why there is none.
    void showFile(const QString &path, const QStringList &searchedDirs);

    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace Tessar

#include "app/helpwindow.h"

#include "app/helpfile.h"
#include "app/raisewindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace Tessar {

namespace {

QPointer<HelpWindow> theWindow;

const QString DefaultTitle = QStringLiteral("Tessar Help");

// A manual is a few hundred kilobytes; anything far larger under that name
// is not ours and would only stall the viewer.
constexpr qint64 MaxHelpBytes = 16 * 1024 * 1024;

QString missingPage(const QString &why, const QStringList &searchedDirs)
{
    QString page = QStringLiteral("<h2>Help is not available</h2><p>%1</p>").arg(why.toHtmlEscaped());
    if (!searchedDirs.isEmpty()) {
        page += QStringLiteral("<p>These folders were searched, in this order:</p><ol>");
        for (const QString &dir : searchedDirs)
            page += QStringLiteral("<li><tt>%1</tt></li>").arg(dir.toHtmlEscaped());
        page += QStringLiteral("</ol>");
    }
    page += QStringLiteral("<p>Copy %1 into the program's folder or into a folder on your "
                           "PATH, then choose Help again.</p>")
                .arg(QString::fromLatin1(HelpFileName));
    return page;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(DefaultTitle);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(720, 600);
}

HelpWindow *HelpWindow::instance()
{
    return theWindow;
}

void HelpWindow::showContents(QWidget *parent)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString path = qEnvironmentVariable("PATH");
    if (!theWindow)
        theWindow = new HelpWindow(parent);
    theWindow->showFile(findHelpFileIn(programDir, path), helpSearchDirs(programDir, path));
    bringToFront(theWindow);
}

void HelpWindow::showFile(const QString &path, const QStringList &searchedDirs)
{
    const QString name = QString::fromLatin1(HelpFileName);
    if (path.isEmpty()) {
        m_browser->setHtml(missingPage(name + QStringLiteral(" was not found."), searchedDirs));
        setWindowTitle(DefaultTitle);
        return;
    }
    const QFileInfo info(path);
    if (!info.isReadable() || info.size() > MaxHelpBytes) {
        m_browser->setHtml(missingPage(path + QStringLiteral(" cannot be shown."), {}));
        setWindowTitle(DefaultTitle);
        return;
    }
    // The file is HTML whatever its name ends in; its pictures and links are
    // found beside it.
    m_browser->setSearchPaths({info.absolutePath()});
    // Asked again for the same file, read it afresh: it may have been
    // replaced, or the window may be showing the not-found page.
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (m_browser->source() == url)
        m_browser->reload();
    else
        m_browser->setSource(url, QTextDocument::HtmlResource);
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? DefaultTitle : title);
}

} // namespace Tessar

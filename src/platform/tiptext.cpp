#include "tiptext.h"

namespace Tessar {

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QString plainTip(const QString &text)
{
    // Rich text on purpose: plain text that merely looks like markup would
    // be taken for it. No wrapping: a file name reads best on one line.
    return QStringLiteral("<p style='white-space:pre'>") + escaped(text) + QStringLiteral("</p>");
}

QString plainTip(const QString &title, const QStringList &lines)
{
    QString html = QStringLiteral("<p style='white-space:pre'><b>") + escaped(title) + QStringLiteral("</b>");
    for (const QString &line : lines)
        html += QStringLiteral("<br>") + escaped(line);
    return html + QStringLiteral("</p>");
}

} // namespace Tessar

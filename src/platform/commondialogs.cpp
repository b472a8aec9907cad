#include "commondialogs.h"

#include "colourchooser.h"
#include "printingcalls.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace Tessar {

namespace {

// A pattern of the stored filter as this desktop's file dialogs read it:
// "*.*" must match names without a dot too, and ";" separates patterns.
QString desktopPattern(const QString &pattern)
{
    QStringList parts = pattern.split(u';', Qt::SkipEmptyParts);
    for (QString &part : parts) {
        part = part.trimmed();
        if (part == u"*.*")
            part = QStringLiteral("*");
    }
    return parts.join(u' ');
}

// Drops the trailing "(...)" of a description, which repeats the pattern.
QString bareDescription(const QString &description)
{
    QString text = description.trimmed();
    if (text.endsWith(u')')) {
        const qsizetype open = text.lastIndexOf(u'(');
        if (open >= 0)
            text = text.left(open).trimmed();
    }
    return text;
}

// Retries the file name with the default extension when it has none, as
// the user typing "run7" means "run7.kwl".
QString withDefaultExtension(const QString &path, const QString &extension)
{
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + extension;
}

// The one extension a desktop filter such as "SVG drawing (*.svg)" stands
// for; empty for a filter of several patterns or of any name.
QString filterExtension(const QString &filter)
{
    const qsizetype open = filter.lastIndexOf(u'(');
    const qsizetype close = filter.lastIndexOf(u')');
    if (open < 0 || close < open)
        return QString();
    const QString pattern = filter.mid(open + 1, close - open - 1).trimmed();
    if (!pattern.startsWith(QStringLiteral("*.")) || pattern.contains(u' '))
        return QString();
    const QString extension = pattern.mid(2);
    if (extension.isEmpty() || extension.contains(u'*') || extension.contains(u'?'))
        return QString();
    return extension;
}

std::optional<QString> runFileDialog(QWidget *parent, const CommonDialogs::FileRequest &request,
                                     QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    // Neither dialog insists on an existing file; only an export asks before
    // replacing one, as sample files have always been replaced unasked.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.initDir.isEmpty() && QDir(request.initDir).exists())
        dialog.setDirectory(request.initDir);

    const QStringList filters = CommonDialogs::convertFilter(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex - 1;
        if (index >= 0 && index < filters.size())
            dialog.selectNameFilter(filters.at(index));
    }
    // A name typed without an extension takes the chosen filter's own: an
    // export offering two formats writes the one chosen.
    QString extension = request.defaultExt;
    if (!request.defaultExt.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultExt);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
            const QString own = filterExtension(filter);
            extension = own.isEmpty() ? request.defaultExt : own;
            dialog.setDefaultSuffix(extension);
        });
    }
    // A bare pattern such as "*.kwl" is already said by the filter; only a
    // real name is offered in the name box.
    if (!request.fileName.isEmpty() && !request.fileName.contains(u'*') && !request.fileName.contains(u'?'))
        dialog.selectFile(request.fileName);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return withDefaultExtension(chosen.first(), extension);
}

class PlatformDialogs : public CommonDialogs
{
public:
    std::optional<QString> showOpen(QWidget *parent, const FileRequest &request) override
    {
        return runFileDialog(parent, request, QFileDialog::AcceptOpen);
    }

    std::optional<QString> showSave(QWidget *parent, const FileRequest &request) override
    {
        return runFileDialog(parent, request, QFileDialog::AcceptSave);
    }

    std::optional<Colour> showColor(QWidget *parent, const QString &title, Colour initial) override
    {
        ColourChooser chooser(initial, title, parent);
        if (chooser.exec() != QDialog::Accepted)
            return std::nullopt;
        return chooser.colour();
    }

    std::optional<int> showPrinter(QWidget *parent, QPrinter &printer) override
    {
        // A printer exists only once the printing module is loaded.
        const PrintingCalls *calls = printingCalls();
        return calls ? calls->printerDialog(parent, printer) : std::nullopt;
    }
};

PlatformDialogs &platformDialogs()
{
    static PlatformDialogs dialogs;
    return dialogs;
}

CommonDialogs *installed = nullptr;

} // namespace

QStringList CommonDialogs::convertFilter(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = desktopPattern(parts.at(i + 1));
        if (patterns.isEmpty())
            continue;
        QString description = bareDescription(parts.at(i));
        if (description.isEmpty())
            description = patterns;
        result.append(description + QStringLiteral(" (") + patterns + u')');
    }
    return result;
}

CommonDialogs &CommonDialogs::instance()
{
    return installed ? *installed : platformDialogs();
}

void CommonDialogs::setInstance(CommonDialogs *dialogs)
{
    installed = dialogs;
}

} // namespace Tessar

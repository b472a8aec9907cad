#include "soakfiledialogs.h"

#include "platform/colourchooser.h"

#include <QDir>
#include <QPrinter>

namespace {
QString gTypedAnswer;
}

QString SoakFileDialogs::typedAnswer()
{
    return gTypedAnswer;
}

SoakFileDialogs::SoakFileDialogs(SoakRandom &random, const QString &folder)
    : mRandom(random)
    , mFolder(folder)
{
    setInstance(this);
}

SoakFileDialogs::~SoakFileDialogs()
{
    setInstance(nullptr);
}

QStringList SoakFileDialogs::filesIn(const QString &subfolder, const QString &suffix) const
{
    QStringList files;
    const QDir dir(mFolder + u'/' + subfolder);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        if (name.endsWith(suffix))
            files.append(dir.filePath(name));
    }
    return files;
}

QStringList SoakFileDialogs::unwritablePaths(const QString &extension) const
{
    const QString ext = extension.isEmpty() ? QString() : u'.' + extension;
    return {mFolder + QStringLiteral("/no-such-folder/list") + ext, mFolder + QStringLiteral("/plain-file/list") + ext,
            mFolder + QStringLiteral("/a-folder") + ext};
}

// Now and then the answer goes through the real file dialog (Qt's own,
// never the desktop's), typed into it as a user would.
std::optional<QString> SoakFileDialogs::answer(QWidget *parent, const FileRequest &request, bool save,
                                               std::optional<QString> chosen)
{
    if (mRandom.chance(35)) {
        gTypedAnswer = chosen.value_or(QString());
        setInstance(nullptr);
        chosen = save ? instance().showSave(parent, request) : instance().showOpen(parent, request);
        setInstance(this);
        gTypedAnswer.clear();
    }
    mRequests.append({save ? QStringLiteral("save") : QStringLiteral("open"), request.title, chosen});
    return chosen;
}

std::optional<QString> SoakFileDialogs::showOpen(QWidget *parent, const FileRequest &request)
{
    if (mRandom.chance(8))
        return answer(parent, request, false, std::nullopt);
    // The corpus of the kind asked for, now and then the other kind too,
    // what the soak saved, and names that are no sample file.
    const bool samples = request.filter.contains(QLatin1String("kwl"));
    QStringList choices = filesIn(samples ? QStringLiteral("kwl") : QStringLiteral("table")) + filesIn(QStringLiteral("saved"));
    if (mRandom.chance(10))
        choices += filesIn(samples ? QStringLiteral("table") : QStringLiteral("kwl"));
    choices += {mFolder + QStringLiteral("/no-such-file.kwl"), mFolder + QStringLiteral("/a-folder.kwl"),
                mFolder + QStringLiteral("/plain-file")};
    return answer(parent, request, false, mRandom.pick(choices));
}

std::optional<QString> SoakFileDialogs::showSave(QWidget *parent, const FileRequest &request)
{
    if (mRandom.chance(8))
        return answer(parent, request, true, std::nullopt);
    const QString suffix = request.defaultExt.isEmpty() ? QString() : u'.' + request.defaultExt;
    const QString saved = mFolder + QStringLiteral("/saved/");
    const QStringList existing = filesIn(QStringLiteral("saved"), suffix);
    const QStringList corpus = filesIn(QStringLiteral("kwl"));
    QString path;
    switch (mRandom.weighted({50, 30, 8, 12})) {
    case 0: // a new name, from a pool that keeps the folder small
        path = saved + QStringLiteral("list%1").arg(mRandom.below(24)) + suffix;
        break;
    case 1: // over a file the soak saved
        path = existing.isEmpty() ? saved + QStringLiteral("first") + suffix : mRandom.pick(existing);
        break;
    case 2: // over a copy from the corpus, which a later Open reads again
        path = corpus.isEmpty() ? saved + QStringLiteral("corpus") + suffix : mRandom.pick(corpus);
        break;
    default:
        path = mRandom.pick(unwritablePaths(request.defaultExt));
        if (path.contains(QLatin1String("/a-folder")))
            QDir().mkpath(path);
    }
    return answer(parent, request, true, path);
}

std::optional<Tessar::Colour> SoakFileDialogs::showColor(QWidget *parent, const QString &title, Tessar::Colour initial)
{
    Tessar::ColourChooser chooser(initial, title, parent);
    std::optional<Tessar::Colour> chosen;
    if (chooser.exec() == QDialog::Accepted)
        chosen = chooser.colour();
    mRequests.append({QStringLiteral("color"), title, chosen ? std::optional(QString::number(*chosen, 16)) : std::nullopt});
    return chosen;
}

// Printed now and then into a PDF in the soak's folder, some pages of it.
std::optional<int> SoakFileDialogs::showPrinter(QWidget *, QPrinter &printer)
{
    std::optional<int> copies;
    if (mRandom.chance(40)) {
        const int last = printer.toPage();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(mFolder + QStringLiteral("/printed.pdf"));
        if (last >= 1 && mRandom.chance(50)) {
            const int from = mRandom.between(1, last);
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, mRandom.between(from, last));
        }
        copies = mRandom.between(1, 2);
    }
    mRequests.append({QStringLiteral("printer"), QStringLiteral("Print"),
                      copies ? std::optional(QStringLiteral("%1 copies").arg(*copies)) : std::nullopt});
    return copies;
}

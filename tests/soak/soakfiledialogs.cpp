#include "soakfiledialogs.h"

#include "platform/colourchooser.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace {
QString gTypedAnswer;
}

QString SoakFileDialogs::typedAnswer()
{
    return gTypedAnswer;
}

std::optional<QString> SoakFileDialogs::throughRealDialog(QWidget *parent, const FileRequest &request, bool save,
                                                          const std::optional<QString> &answer)
{
    if (!mRandom.chance(35))
        return answer;
    gTypedAnswer = answer.value_or(QString());
    setInstance(nullptr);
    CommonDialogs &platform = instance();
    std::optional<QString> chosen = save ? platform.showSave(parent, request) : platform.showOpen(parent, request);
    setInstance(this);
    gTypedAnswer.clear();
    return chosen;
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

QList<SoakFileDialogs::Request> SoakFileDialogs::takeRequests()
{
    return std::exchange(mRequests, {});
}

QString SoakFileDialogs::savedFolder() const
{
    return mFolder + QStringLiteral("/saved");
}

QStringList SoakFileDialogs::filesIn(const QString &subfolder) const
{
    QStringList files;
    const QDir dir(mFolder + u'/' + subfolder);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

// Root may write almost anywhere, so these fail for what they are, not
// for their permissions: a folder that is not there, a file taken for a
// folder, and a folder where the file should be.
QStringList SoakFileDialogs::unwritablePaths(const QString &extension) const
{
    const QString ext = extension.isEmpty() ? QString() : u'.' + extension;
    return {mFolder + QStringLiteral("/no-such-folder/list") + ext,
            mFolder + QStringLiteral("/plain-file/list") + ext,
            mFolder + QStringLiteral("/a-folder") + ext};
}

std::optional<QString> SoakFileDialogs::showOpen(QWidget *parent, const FileRequest &request)
{
    Request asked{QStringLiteral("open"), request.title, std::nullopt, false};
    if (!mRandom.chance(8)) {
        const bool samples = request.filter.contains(QLatin1String("kwl"));
        QStringList choices = filesIn(samples ? QStringLiteral("kwl") : QStringLiteral("table"));
        // What the soak saved itself, of every kind, and now and then the
        // other corpus: a table offered as a sample file and the reverse.
        choices += filesIn(QStringLiteral("saved"));
        if (mRandom.chance(10))
            choices += filesIn(samples ? QStringLiteral("table") : QStringLiteral("kwl"));
        choices += {mFolder + QStringLiteral("/no-such-file.kwl"), mFolder + QStringLiteral("/a-folder.kwl"),
                    mFolder + QStringLiteral("/plain-file")};
        asked.answer = mRandom.pick(choices);
    }
    asked.answer = throughRealDialog(parent, request, false, asked.answer);
    mRequests.append(asked);
    return asked.answer;
}

std::optional<QString> SoakFileDialogs::showSave(QWidget *parent, const FileRequest &request)
{
    Request asked{QStringLiteral("save"), request.title, std::nullopt, false};
    if (!mRandom.chance(8)) {
        const QString ext = request.defaultExt;
        const QString suffix = ext.isEmpty() ? QString() : u'.' + ext;
        const int choice = mRandom.weighted({50, 30, 8, 12});
        if (choice == 0) {
            // A new name, from a pool that keeps the folder small.
            asked.answer = savedFolder() + QStringLiteral("/list%1").arg(mRandom.below(24)) + suffix;
        } else if (choice == 1) {
            // Over a file that is there already, saved by the soak.
            QStringList existing;
            for (const QString &file : filesIn(QStringLiteral("saved"))) {
                if (ext.isEmpty() || file.endsWith(suffix))
                    existing.append(file);
            }
            asked.answer = existing.isEmpty() ? savedFolder() + QStringLiteral("/first") + suffix : mRandom.pick(existing);
        } else if (choice == 2) {
            // Over a copy from the corpus, which a later Open reads again.
            const QStringList corpus = filesIn(QStringLiteral("kwl"));
            asked.answer = corpus.isEmpty() ? savedFolder() + QStringLiteral("/corpus") + suffix : mRandom.pick(corpus);
        } else {
            asked.answer = mRandom.pick(unwritablePaths(ext));
            asked.unwritable = true;
            if (asked.answer->contains(QLatin1String("/a-folder")))
                QDir().mkpath(*asked.answer);
        }
    }
    asked.answer = throughRealDialog(parent, request, true, asked.answer);
    mRequests.append(asked);
    return asked.answer;
}

std::optional<Tessar::Colour> SoakFileDialogs::showColor(QWidget *parent, const QString &title, Tessar::Colour initial)
{
    Request asked{QStringLiteral("color"), title, std::nullopt, false};
    Tessar::ColourChooser chooser(initial, title, parent);
    std::optional<Tessar::Colour> chosen;
    if (chooser.exec() == QDialog::Accepted)
        chosen = chooser.colour();
    if (chosen)
        asked.answer = QString::number(*chosen, 16);
    mRequests.append(asked);
    return chosen;
}

std::optional<int> SoakFileDialogs::showPrinter(QWidget *, QPrinter &printer)
{
    Request asked{QStringLiteral("printer"), QStringLiteral("Print"), std::nullopt, false};
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
        asked.answer = QStringLiteral("%1 copies").arg(*copies);
    }
    mRequests.append(asked);
    return copies;
}

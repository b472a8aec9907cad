#include "printoutpdf.h"

#include "core/document/state.h"
#include "printoutrenderer.h"

#include <QFile>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryDir>

namespace Tessar {

bool writePrintoutPdf(const State &state, const QString &path, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const std::vector<PrintPage> pages = printoutPages(state);
    if (pages.empty())
        return fail(QStringLiteral("There is nothing to print: no sample holds any information."));

    // The printer writes only to a named file; the finished draft is then
    // put in place in one step.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(QStringLiteral("No temporary file could be made: %1").arg(scratch.errorString()));
    const QString draft = scratch.filePath(QStringLiteral("printout.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        printer.setDocName(state.fileTitle.isEmpty() ? QStringLiteral("Untitled") : state.fileTitle);
        printer.setCreator(QStringLiteral("Tessar"));
        if (renderPrintout(printer, pages).outcome != PrintResult::Printed)
            return fail(QStringLiteral("The printout could not be made: the temporary file %1 could not be written.")
                            .arg(draft));
    }

    QFile made(draft);
    if (!made.open(QIODevice::ReadOnly))
        return fail(made.errorString());
    const QByteArray bytes = made.readAll();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace Tessar

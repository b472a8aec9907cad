#pragma once

#include "core/reports/printout.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QPrinter;
class QWidget;

namespace Tessar {

class CommonDialogs;

// A drawing to be written as SVG: its size in pixels at `dpi` dots per inch.
struct SvgRequest
{
    QSize size;
    int dpi = 96;
    QString title;
    QString description;
};

// What the printing module does. The printer and SVG libraries it needs
// would be loaded by every start of the program if they were linked in; as
// a module they load when something is first printed or drawn as SVG.
struct PrintingCalls
{
    // File > Print of these pages (there is at least one): the printer
    // dialog of `dialogs`, then the printout with the copies and pages
    // chosen there. A failing printer is reported.
    void (*print)(QWidget *parent, CommonDialogs &dialogs, const std::vector<PrintPage> &pages);
    // The pages in a preview window, printed from there as File > Print
    // prints them.
    void (*preview)(QWidget *parent, CommonDialogs &dialogs, const std::vector<PrintPage> &pages);
    // The platform's printer dialog on `printer`: the copies chosen, or
    // nothing when the user cancels.
    std::optional<int> (*printerDialog)(QWidget *parent, QPrinter &printer);
    // One copy of every page, as File > Print puts it on this computer's
    // default paper, replacing the PDF file `path` in one step.
    bool (*writePdf)(const std::vector<PrintPage> &pages, const QString &title, const QString &path,
                     QString *error);
    QByteArray (*svg)(const SvgRequest &request, const std::function<void(QPainter &)> &paint);
};

inline constexpr char PrintingEntryName[] = "tessarPrinting";
inline constexpr char PrintingModuleName[] = "tessar-printing.so";

// The printing calls: those linked in with useLinkedPrinting(), or else the
// module's, loaded with the first call; null when the module is missing.
const PrintingCalls *printingCalls();
void useLinkedPrinting(const PrintingCalls *linked);

// Why nothing can be printed when printingCalls() is null.
QString printingMissing();

} // namespace Tessar

extern "C" const Tessar::PrintingCalls *tessarPrinting();

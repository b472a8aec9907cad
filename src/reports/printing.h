#pragma once

#include "core/printout.h"

#include <vector>

class QPrinter;
class QWidget;

namespace Tessar {

struct State;

struct PrintResult
{
    enum Outcome {
        Printed,
        NothingToPrint,   // no page: an empty document, or no copies
        CouldNotStart,    // the printer (or the output file) refused to open
        PageFailed,       // the printer stopped between pages
    };
    Outcome outcome = NothingToPrint;
    int pagesStarted = 0;
};

// Puts `copies` complete copies of the pages on the printer, each page on a
// sheet of its own and a page too long for the sheet continued on the next,
// in the printer's own font with bold switched per line.
PrintResult renderPrintout(QPrinter &printer, const std::vector<PrintPage> &pages, int copies);

// File > Print: the printer dialog (a cancel prints nothing), then the
// printout of the current document; a failing printer is reported.
void printDocument(QWidget *parent, const State &state);

} // namespace Tessar

#pragma once

#include "core/reports/pageselection.h"
#include "core/reports/printout.h"

#include <vector>

class QPrinter;

namespace Tessar {

// What to put on paper: how many copies of which pages.
struct PrintJob
{
    int copies = 1;
    std::vector<PageSpan> pages;   // none: every page
};

struct PrintResult
{
    enum Outcome {
        Printed,
        NothingToPrint,   // no page: an empty document, or no copies
        NothingInRange,   // the pages chosen lie past the end of the printout
        CouldNotStart,    // the printer (or the output file) refused to open
        PageFailed,       // the printer stopped between pages
    };
    Outcome outcome = NothingToPrint;
    int pagesStarted = 0;
    int sheetCount = 0;   // pages one copy of the printout has on this paper
};

// The copies and pages chosen in a print dialog on `printer`. The printout
// makes the copies and picks the pages itself, so the printer is set back
// to print one copy of everything it is given.
PrintJob takePrintJob(QPrinter &printer, int copies);

// How many pages one copy of the printout takes on `printer`'s paper.
int printoutSheetCount(QPrinter &printer, const std::vector<PrintPage> &pages);

// Puts the job's pages of the printout on the printer, in the printer's
// own font with bold switched per line, inside margins of at least 15 mm:
// each printout page on a sheet of its own, a value too long for a line
// wrapped onto the next lines, a page too long for the sheet continued on
// the next. Pages are counted as sheets of one copy.
PrintResult renderPrintout(QPrinter &printer, const std::vector<PrintPage> &pages, const PrintJob &job = PrintJob());

} // namespace Tessar

#pragma once

#include "core/reports/printout.h"

#include <QString>

#include <vector>

class QPrinter;
class QWidget;

namespace Tessar {

struct State;

// File > Print: an empty document is only told about; otherwise the
// printer dialog (a cancel prints nothing), then the printout with the
// copies and pages chosen there. A failing printer is reported.
void printDocument(QWidget *parent, const State &state);

// The printer dialog on `printer`, offering the pages the printout has,
// then the printout as chosen. Returns whether it was printed.
bool printWithDialog(QWidget *parent, QPrinter &printer, const std::vector<PrintPage> &pages);

// Tells the user that an empty document has nothing to print, preview or
// export; `title` is the command's.
void tellNothingToPrint(QWidget *parent, const QString &title, const QString &what);

} // namespace Tessar

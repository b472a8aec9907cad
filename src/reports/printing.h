#pragma once

#include <QString>

class QWidget;

namespace Tessar {

struct State;

// File > Print: an empty document is only told about; otherwise the
// printer dialog (a cancel prints nothing), then the printout with the
// copies and pages chosen there. A failing printer is reported.
void printDocument(QWidget *parent, const State &state);

// File > Export > Print Preview: the printout's pages in a preview window
// ("PrintPreview"), from which they can be printed just as File > Print
// prints them. An empty document is only told about.
void previewDocument(QWidget *parent, const State &state);

// Tells the user that an empty document has nothing to print, preview or
// export; `title` is the command's.
void tellNothingToPrint(QWidget *parent, const QString &title, const QString &what);

} // namespace Tessar

#pragma once

class QWidget;

namespace Tessar {

struct State;

// File > Export > Print Preview: the printout's pages in a preview window
// ("PrintPreview"), from which they can be printed just as File > Print
// prints them. An empty document is only told about.
void previewDocument(QWidget *parent, const State &state);

} // namespace Tessar

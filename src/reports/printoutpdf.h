#pragma once

#include <QString>

namespace Tessar {

struct State;

// Writes the printout of the document, one copy of every page exactly as
// File > Print puts it on this computer's default paper, to a PDF file.
// The file is replaced in one step, so a failure leaves no half-written
// file and no changed one; `error` then says why. Needs a QGuiApplication
// (the offscreen platform will do) for the fonts, and no window.
bool writePrintoutPdf(const State &state, const QString &path, QString *error);

} // namespace Tessar

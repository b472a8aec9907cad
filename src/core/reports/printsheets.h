#pragma once

#include "core/reports/printout.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Tessar {

// One line as it goes on paper: a printout line, or the part of one that
// did not fit on the line before.
struct SheetLine
{
    QString text;
    bool bold = false;
    bool continued = false;   // carries on the line above; drawn indented
};

// What goes on one sheet of paper.
using Sheet = std::vector<SheetLine>;

// The room on a sheet, in whatever unit the text width function measures.
struct SheetRoom
{
    double lineWidth = 0;    // from the left edge of the printed area
    double indent = 0;       // where continued lines start
    int linesPerSheet = 1;
};

// The width of a text on paper, in the bold or the regular font.
using TextWidth = std::function<double(const QString &text, bool bold)>;

// Breaks `text` into lines no wider than `width` (the lines after the first
// start `indent` further in): after a word where the line has one, inside a
// word that is longer than the line, and at every line break in the text.
// Never loses a character but the blanks at a break; gives at least one line.
QStringList wrapText(const QString &text, double width, double indent,
                     const std::function<double(const QString &)> &measure);

// The printout on paper: each page on a new sheet, its long lines wrapped,
// and a page longer than a sheet continued on the next.
std::vector<Sheet> layoutSheets(const std::vector<PrintPage> &pages, const SheetRoom &room,
                                const TextWidth &width);

} // namespace Tessar

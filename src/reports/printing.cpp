#include "printing.h"

#include "platform/commondialogs.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace Tessar {

namespace {

// More copies than any print dialog offers are taken as a slip, not as a
// request to print for hours.
constexpr int MaxCopies = 999;

} // namespace

PrintResult renderPrintout(QPrinter &printer, const std::vector<PrintPage> &pages, int copies)
{
    copies = std::min(copies, MaxCopies);
    if (copies < 1 || pages.empty())
        return {PrintResult::NothingToPrint, 0};

    QPainter painter;
    if (!painter.begin(&printer))
        return {PrintResult::CouldNotStart, 0};

    QFont regular = painter.font();
    regular.setBold(false);
    QFont bold = regular;
    bold.setBold(true);
    const QFontMetricsF regularMetrics(regular, &printer);
    const QFontMetricsF boldMetrics(bold, &printer);
    const qreal lineHeight = std::max(regularMetrics.lineSpacing(), boldMetrics.lineSpacing());
    const qreal ascent = std::max(regularMetrics.ascent(), boldMetrics.ascent());
    const qreal sheetHeight = printer.pageRect(QPrinter::DevicePixel).height();

    PrintResult result{PrintResult::Printed, 0};
    auto startSheet = [&]() {
        if (result.pagesStarted > 0 && !printer.newPage())
            return false;
        ++result.pagesStarted;
        return true;
    };

    for (int copy = 0; copy < copies; ++copy) {
        for (const PrintPage &page : pages) {
            if (!startSheet()) {
                painter.end();
                return {PrintResult::PageFailed, result.pagesStarted};
            }
            qreal y = 0;
            for (const PrintLine &line : page) {
                if (y > 0 && y + lineHeight > sheetHeight) {
                    if (!startSheet()) {
                        painter.end();
                        return {PrintResult::PageFailed, result.pagesStarted};
                    }
                    y = 0;
                }
                painter.setFont(line.bold ? bold : regular);
                painter.drawText(QPointF(0, y + ascent), line.text);
                y += lineHeight;
            }
        }
    }
    if (!painter.end())
        return {PrintResult::PageFailed, result.pagesStarted};
    return result;
}

void printDocument(QWidget *parent, const State &state)
{
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<int> copies = CommonDialogs::instance().showPrinter(parent, printer);
    if (!copies)
        return;
    // Each copy is produced here, complete and in order, so the printer must
    // not multiply the pages again.
    printer.setCopyCount(1);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const PrintResult result = renderPrintout(printer, printoutPages(state), *copies);
    QGuiApplication::restoreOverrideCursor();

    switch (result.outcome) {
    case PrintResult::Printed:
    case PrintResult::NothingToPrint:
        break;
    case PrintResult::CouldNotStart:
        QMessageBox::warning(parent, QStringLiteral("Print"),
                             QStringLiteral("The printer could not be started. Check that it is "
                                            "ready (or that the output file can be written) and "
                                            "print again."));
        break;
    case PrintResult::PageFailed:
        QMessageBox::warning(parent, QStringLiteral("Print"),
                             QStringLiteral("The printer stopped while printing. The printout "
                                            "may be incomplete."));
        break;
    }
}

} // namespace Tessar

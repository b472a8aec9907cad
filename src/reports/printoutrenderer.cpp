#include "printoutrenderer.h"

#include "core/reports/printsheets.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace Tessar {

namespace {

// Paper handling of a printer is not what keeps text readable: whatever
// the printer allows, nothing is drawn nearer the paper's edge than this.
constexpr double LeastMarginMm = 15.0;
// Lines that carry on a value start this much further in.
constexpr double ContinuationIndentMm = 8.0;

double millimetres(double mm, int dpi)
{
    return mm / 25.4 * dpi;
}

// Without shaping no "fi" or "fl" becomes one ligature glyph, so the text
// of a PDF printout can be searched and copied as it reads.
QFont weighted(QFont font, bool bold)
{
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// The printout as it lies on one printer's paper.
class PaperLayout
{
public:
    explicit PaperLayout(QPrinter &printer)
        : mRegular(weighted(QFont(QGuiApplication::font(), &printer), false))
        , mBold(weighted(mRegular, true))
        , mRegularMetrics(mRegular, &printer)
        , mBoldMetrics(mBold, &printer)
    {
        const int dpi = std::max(printer.resolution(), 1);
        const QRectF paper = printer.pageLayout().fullRectPixels(dpi);
        // The painter's origin is the corner of what the printer can print.
        const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
        const double least = millimetres(LeastMarginMm, dpi);
        QRectF area = paper.adjusted(least, least, -least, -least).intersected(printable);
        if (area.isEmpty())
            area = printable;
        mArea = area.translated(-printable.topLeft());
        mLineHeight = std::max({mRegularMetrics.lineSpacing(), mBoldMetrics.lineSpacing(), 1.0});
        mAscent = std::max(mRegularMetrics.ascent(), mBoldMetrics.ascent());
        mIndent = std::min(millimetres(ContinuationIndentMm, dpi), mArea.width() / 2);
    }

    std::vector<Sheet> sheets(const std::vector<PrintPage> &pages) const
    {
        SheetRoom room;
        room.lineWidth = mArea.width();
        room.indent = mIndent;
        room.linesPerSheet = std::max(1, int(mArea.height() / mLineHeight));
        return layoutSheets(pages, room, [this](const QString &text, bool bold) {
            return (bold ? mBoldMetrics : mRegularMetrics).horizontalAdvance(text);
        });
    }

    void draw(QPainter &painter, const Sheet &sheet) const
    {
        double y = mArea.top();
        for (const SheetLine &line : sheet) {
            painter.setFont(line.bold ? mBold : mRegular);
            const double x = mArea.left() + (line.continued ? mIndent : 0.0);
            painter.drawText(QPointF(x, y + mAscent), line.text);
            y += mLineHeight;
        }
    }

private:
    QFont mRegular;
    QFont mBold;
    QFontMetricsF mRegularMetrics;
    QFontMetricsF mBoldMetrics;
    QRectF mArea;
    double mLineHeight = 1;
    double mAscent = 0;
    double mIndent = 0;
};

} // namespace

PrintJob takePrintJob(QPrinter &printer, int copies)
{
    PrintJob job;
    job.copies = copies;
    if (printer.printRange() == QPrinter::PageRange) {
        const QList<QPageRanges::Range> ranges = printer.pageRanges().toRangeList();
        for (const QPageRanges::Range &range : ranges)
            job.pages.push_back({range.from, range.to});
    }
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPageRanges(QPageRanges());
    return job;
}

int printoutSheetCount(QPrinter &printer, const std::vector<PrintPage> &pages)
{
    if (pages.empty())
        return 0;
    return int(PaperLayout(printer).sheets(pages).size());
}

PrintResult renderPrintout(QPrinter &printer, const std::vector<PrintPage> &pages, const PrintJob &job)
{
    if (pages.empty() || job.copies < 1)
        return {PrintResult::NothingToPrint, 0, 0};
    const PaperLayout layout(printer);
    const std::vector<Sheet> sheets = layout.sheets(pages);
    const int sheetCount = int(sheets.size());
    const std::vector<int> order = sheetsToPrint(sheetCount, job.copies, job.pages);
    if (order.empty())
        return {PrintResult::NothingInRange, 0, sheetCount};

    QPainter painter;
    if (!painter.begin(&printer))
        return {PrintResult::CouldNotStart, 0, sheetCount};
    PrintResult result{PrintResult::Printed, 0, sheetCount};
    for (const int sheet : order) {
        if (result.pagesStarted > 0 && !printer.newPage()) {
            painter.end();
            result.outcome = PrintResult::PageFailed;
            return result;
        }
        ++result.pagesStarted;
        layout.draw(painter, sheets[std::size_t(sheet)]);
    }
    if (!painter.end())
        result.outcome = PrintResult::PageFailed;
    return result;
}

} // namespace Tessar

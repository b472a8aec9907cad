#include "core/layout/windowlayout.h"

#include "core/document/state.h"

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

constexpr double HeaderHeight = 1095;
constexpr double PlateAspect = 0.643;   // width of the map over its height

// Takes the new size only when it is a size at all.
void guarded(double &size, double value)
{
    if (value > 0 && std::isfinite(value))
        size = value;
}

double widthOf(const LayoutInput &input, const QString &text)
{
    if (!input.textWidth)
        return 0;
    const double width = input.textWidth(text);
    return std::isfinite(width) ? width : 0;
}

// Column 0 is as wide as the longest caption plus an "M" of air on each
// side; a tiny result means there was nothing to measure.
double captionColumnWidth(const LayoutInput &input, int rows)
{
    double m = 0;
    for (int f = 0; f < rows && f < int(input.fieldName.size()); ++f) {
        const QString &name = f == 0 ? QStringLiteral("Key") : input.fieldName[std::size_t(f)];
        if (widthOf(input, name) > m)
            m = roundToInt(widthOf(input, name + u'M'));
    }
    double w0 = roundToInt(m + widthOf(input, QStringLiteral("M")));
    if (w0 < 5)
        w0 = roundToInt(widthOf(input, QStringLiteral("Dummy String")));
    return w0;
}

} // namespace

WindowLayout WindowLayout::designTime()
{
    WindowLayout layout;
    layout.fraHeader = {60, 0, 8880, HeaderHeight};
    layout.LblCompany = {120, 180, 7485, 495};
    layout.LblFilename = {120, 720, 3742.5, 315};
    layout.TxtFileDesc = {3922.5, 720, 4837.5, 285};
    layout.CmdList = {7725, 180, 1035, 495};
    layout.FraPic = {60, 1155, 2231, 3470};
    layout.PicWell = {38, 60, 2154, 3350};
    layout.StatusBar = {0, 4685, 2231, 315};
    layout.vsb = {8625, 1155, 315, 3785};
    layout.fraMain = {2351, 1155, 6154, 3785};
    for (std::size_t i = 0; i < layout.fraSample.size(); ++i) {
        layout.fraSample[i] = {60, 120 + double(i) * 1680, 5974, 1560};
        layout.GrdID[i] = {60, 240, 5794, 1200};
    }
    layout.gridRows = 5;
    layout.gridRowHeight = 240;
    layout.captionWidth = 1200;
    layout.valueWidth = 4594;
    return layout;
}

WindowLayout sizeformLayout(const LayoutInput &input, const WindowLayout &previous)
{
    WindowLayout l = previous;
    const double W = input.width;
    const double H = input.height;

    // Sizes fixed when the window was designed; the arithmetic reads them.
    const WindowLayout design = WindowLayout::designTime();
    l.CmdList.top = design.CmdList.top;
    l.CmdList.width = design.CmdList.width;
    l.CmdList.height = design.CmdList.height;
    l.LblCompany.top = design.LblCompany.top;
    l.LblCompany.height = design.LblCompany.height;
    l.LblFilename.top = design.LblFilename.top;
    l.LblFilename.height = design.LblFilename.height;
    l.TxtFileDesc.top = design.TxtFileDesc.top;
    l.TxtFileDesc.height = design.TxtFileDesc.height;
    l.vsb.width = design.vsb.width;
    l.StatusBar.height = design.StatusBar.height;

    // Header
    l.fraHeader.left = 60;
    l.fraHeader.top = 0;
    guarded(l.fraHeader.width, W - 120);
    l.fraHeader.height = HeaderHeight;
    l.CmdList.left = l.fraHeader.width - l.CmdList.width - 120;
    l.LblCompany.left = 120;
    guarded(l.LblCompany.width, l.CmdList.left - 240);
    l.LblFilename.left = 120;
    guarded(l.LblFilename.width, l.LblCompany.width / 2);
    l.TxtFileDesc.left = l.LblFilename.width + 180;
    guarded(l.TxtFileDesc.width, l.LblCompany.width / 2 + l.CmdList.width + 60);

    // Plate map beside a status line as wide as the map
    l.FraPic.top = l.fraHeader.height + 60;
    l.FraPic.left = 60;
    guarded(l.FraPic.height, H - l.fraHeader.height - 120 - l.StatusBar.height);
    l.FraPic.width = l.FraPic.height * PlateAspect;
    l.StatusBar.top = H - l.StatusBar.height;
    l.StatusBar.left = 0;
    l.StatusBar.width = l.FraPic.width;
    l.PicWell.top = 60;
    guarded(l.PicWell.height, l.FraPic.height - 120);
    l.PicWell.width = l.PicWell.height * PlateAspect;
    l.PicWell.left = (l.FraPic.width - l.PicWell.width) / 2;

    // Scroll bar at the right edge
    l.vsb.left = W - l.vsb.width - 60;
    l.vsb.top = l.fraHeader.height + 60;
    guarded(l.vsb.height, H - l.fraHeader.height - 120);

    // Sample frames between the map and the scroll bar
    l.fraMain.top = l.fraHeader.height + 60;
    l.fraMain.left = l.FraPic.width + 120;
    guarded(l.fraMain.width, l.vsb.left - 120 - l.fraMain.left);
    guarded(l.fraMain.height, H - l.fraHeader.height - 120);

    const int rows = std::clamp(roundToInt(input.numField), 0, MaxFields);
    l.gridRows = rows;
    if (input.rowHeight > 0 && std::isfinite(input.rowHeight))
        l.gridRowHeight = input.rowHeight;
    l.captionWidth = captionColumnWidth(input, rows);

    l.nFrames = 0;
    for (std::size_t i = 0; i < l.fraSample.size(); ++i) {
        TwipsRect &frame = l.fraSample[i];
        TwipsRect &grid = l.GrdID[i];
        frame.left = 60;
        guarded(frame.width, l.fraMain.width - 180);
        frame.top = i == 0 ? 120 : l.fraSample[i - 1].top + l.fraSample[i - 1].height + 120;
        grid.top = 240;
        grid.left = 60;
        guarded(grid.width, frame.width - 180);
        if (grid.width - l.captionWidth > 0)
            l.valueWidth = grid.width - l.captionWidth;
        grid.height = l.gridRowHeight * rows;
        frame.height = grid.height + 360;
        if (frame.top + frame.height < l.fraMain.height)
            l.nFrames = int(i) + 1;
    }

    l.vsbMin = 1;
    l.vsbMax = std::max(input.wellCount, 1);
    l.vsbSmallChange = 1;
    l.vsbLargeChange = l.nFrames > 0 ? l.nFrames : 1;
    return l;
}

} // namespace Tessar

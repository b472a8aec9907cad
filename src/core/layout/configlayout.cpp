#include "core/layout/configlayout.h"

#include <algorithm>

namespace Tessar {

namespace {

constexpr int Margin = 60;          // between the frames and the dialog's edges
constexpr int GridTop = 300;        // below the frame's caption
constexpr int FrameBelowGrid = 360; // GridTop plus a bottom margin of 60

TwipsRect place(double left, double top, double width, double height)
{
    return {left, top, width, height};
}

} // namespace

ConfigLayout layoutConfig(const ConfigLayoutInput &input)
{
    ConfigLayout out;
    const int frameWidth = std::max(0, input.innerWidth - 2 * Margin);
    const int gridWidth = std::max(0, frameWidth - 2 * Margin);
    const int gridHeight = ConfigVisibleRows * std::max(0, input.rowHeight);

    out.fraField = place(Margin, input.headerTop + input.headerHeight + 120, frameWidth, gridHeight + FrameBelowGrid);
    out.grdfield = place(Margin, GridTop, gridWidth, gridHeight);

    out.fraOp = place(Margin, out.fraField.bottom() + Margin, frameWidth, gridHeight + FrameBelowGrid);
    out.grdOp = place(Margin, GridTop, gridWidth, gridHeight);

    // Cancel rightmost, OK to its left, both flush with the right edge.
    const double buttonTop = out.fraOp.bottom() + 120;
    out.cancelBtn = place(input.innerWidth - input.buttonWidth - Margin, buttonTop, input.buttonWidth, input.buttonHeight);
    out.okBtn = place(out.cancelBtn.left - input.buttonWidth - Margin, buttonTop, input.buttonWidth, input.buttonHeight);

    out.fraTip = place(Margin, out.okBtn.bottom() + 120, frameWidth, input.tipHeight);
    return out;
}

int configClientHeight(const ConfigLayout &layout)
{
    return std::max(ConfigClientHeight, int(layout.fraTip.bottom()) + 120);
}

} // namespace Tessar

#pragma once

#include "core/layout/twipsrect.h"

namespace Tessar {

// What the Configure dialog's layout depends on, in twips. The defaults are
// the dialog's design measures; the row height comes from the font in use.
struct ConfigLayoutInput
{
    int innerWidth = 4860;        // the dialog's client width
    int headerTop = 0;            // Fraheader
    int headerHeight = 1095;
    int rowHeight = 240;          // the grids' default row height
    int buttonWidth = 975;        // OKBtn and CancelBtn alike
    int buttonHeight = 375;
    int tipHeight = 1695;         // FraTip keeps its design height
};

struct ConfigLayout
{
    TwipsRect fraField;
    TwipsRect grdfield;
    TwipsRect fraOp;
    TwipsRect grdOp;
    TwipsRect okBtn;
    TwipsRect cancelBtn;
    TwipsRect fraTip;
};

inline constexpr int ConfigClientWidth = 4860;
inline constexpr int ConfigClientHeight = 7305;
inline constexpr int ConfigVisibleRows = 6;

// Stacks the two grid frames, the buttons and the tip below the header.
// Each grid is six rows high whatever the field count (its own frame is
// drawn over the rows' edge); more rows scroll.
ConfigLayout layoutConfig(const ConfigLayoutInput &input);

// The client height the layout needs: the design height, or more when a
// large font's rows would push the tip out of the dialog.
int configClientHeight(const ConfigLayout &layout);

} // namespace Tessar

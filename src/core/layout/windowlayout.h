// The layout wing: the main window's and Configure's placement arithmetic, in twips.
#pragma once

#include "core/layout/twipsrect.h"

#include <QString>

#include <array>
#include <functional>

namespace Tessar {

// Where sizeform puts every control of the main window. Positions are
// relative to each control's container: the header controls to fraHeader,
// PicWell to FraPic, the sample frames to fraMain, each grid to its frame.
struct WindowLayout
{
    TwipsRect fraHeader;
    TwipsRect CmdList;
    TwipsRect LblCompany;
    TwipsRect LblFilename;
    TwipsRect TxtFileDesc;
    TwipsRect FraPic;
    TwipsRect PicWell;
    TwipsRect StatusBar;
    TwipsRect vsb;
    TwipsRect fraMain;
    std::array<TwipsRect, 10> fraSample;
    std::array<TwipsRect, 10> GrdID;

    int gridRows = 0;           // rows of every sample grid
    double gridRowHeight = 0;   // height of each of those rows
    double captionWidth = 0;    // column 0 of the grids
    double valueWidth = 0;      // column 1 of the grids
    int nFrames = 0;            // leading frames that fit completely

    int vsbMin = 1;
    int vsbMax = 1;
    int vsbSmallChange = 1;
    int vsbLargeChange = 1;

    // The sizes the window is built with, before its first layout.
    static WindowLayout designTime();
};

struct LayoutInput
{
    double width = 0;           // the window's inner size, below the menu bar
    double height = 0;
    float numField = 0;         // rows per sample, key row included
    std::array<QString, 11> fieldName;   // the captions; entry 0 is taken as "Key"
    int wellCount = 0;
    double rowHeight = 0;       // the grids' default row height
    std::function<double(const QString &)> textWidth;   // in the window's font
};

// The whole layout for a window size, worked out from the layout the
// window had before: a size that comes out zero or negative (a window made
// very small, or very tall and narrow) keeps its previous value instead.
// That holds for every width and height, not only for the ones a frame
// outgrows, so no control ever gets a negative size.
WindowLayout sizeformLayout(const LayoutInput &input, const WindowLayout &previous);

} // namespace Tessar

// The document wing: the shared state, the document's life and the settings store.
#pragma once

#include "core/document/sampletable.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace Tessar {

// A colour as the document stores it: 0x00BBGGRR for red, green and blue,
// or 0x800000nn for the desktop's system colour nn.
using Colour = std::uint32_t;

inline constexpr Colour ButtonShadowColour = 0x80000010u; // system colour 16
inline constexpr int MaxFields = 10;     // rows per sample, key row included
inline constexpr int MinFields = 2;
inline constexpr int KeyCount = 6;       // keys 1 to 6; index 0 is the background
inline constexpr int MaxFrames = 10;     // sample frames in the main window

// Everything the program knows: the document, the configuration that shapes
// it and the little editing state the windows share.
//
// The application owns the one instance and hands it by reference to every
// window. Members are plain on purpose: a command that changes them brings
// the views up to date itself.
//
// Invariants, which every reader of files and settings keeps:
//  - wellCount is one of 24, 48, 96, 384, 1536 and the plate is laid out for it;
//  - numField is a whole number from 2 to 10;
//  - 1 <= topSample <= wellCount once the plate is laid out, 0 <= curGrid < 10,
//    0 <= curRow < numField, so topSample + curGrid is always inside the table.
struct State
{
    // Plate and geometry
    int wellCount = 0;
    int nRows = 0;
    int nCols = 0;
    std::vector<float> spotX;    // indexed by sample number; entry 0 unused
    std::vector<float> spotY;
    float spotRad = 0.0f;

    // Samples and their fields
    SampleTable sampleTable;     // (sample, field); field 0 is the key row
    float numField = 0.0f;       // rows per sample including the key row
    std::array<QString, 11> fieldName;
    std::array<QString, 7> keyName;
    std::array<Colour, 7> keyColor{};

    // Document identity
    QString filePath;            // empty while untitled
    QString fileTitle;
    QString fileDesc;
    QString company;
    QString profileDir;          // where the file dialogs open

    // Display switches and shared editing state
    QString colorsOn;            // "yes" or "no"
    int topSample = 0;           // sample in the first frame
    int nFrames = 0;
    int curGrid = 0;
    int curRow = 0;
    QString clipItem;
    QString findText;
    int moveSample = 0;

    // Rows per sample as a whole number (the file and the loops use this).
    int fieldCount() const;
};

// Rounds half to even, as the program has always rounded Singles to whole numbers.
int roundToInt(double value);

// True when fields 0 to numField - 1 of sample s are not all empty.
// A sample outside the table has no data.
bool SampleHasData(const State &state, int s);

// The default key colours: system button shadow for the background, then
// light blue, light green, light cyan, light red, light magenta and yellow.
void InitColors(State &state);

// The name of key k (1 to 6) whose name equals text, or 0. An empty key name
// never matches; when several keys share a name the last one wins.
int keyNamed(const State &state, const QString &text);

} // namespace Tessar

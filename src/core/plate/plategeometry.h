// The plate wing: where every well lies, its name and disc, and the plate as a picture.
#pragma once

#include <QChar>
#include <QString>

namespace Tessar {

struct State;

// One of the plate formats the program can lay out.
struct PlateFormat
{
    int wells;
    int rows;
    int cols;
    float pitch;
    float radius;
    float x0;           // x of row 1
    float y0;           // y of column 1
    int lastSample;     // sample table bounds
    int lastField;
    int lastSpot;       // spotX / spotY bounds
};

// The format for a well count, or nullptr when the program cannot lay it out.
const PlateFormat *plateFormat(int wells);
bool isPlateFormat(int wells);

// Plate units: x from 0 (left) to 81 (right), y from 0 (bottom) to 123 (top).
inline constexpr float PlateWidth = 81.0f;
inline constexpr float PlateHeight = 123.0f;

// Lays out the plate for a format and dimensions (so empties) the sample
// table for it. Returns false, changing nothing, for a format it cannot lay out.
bool spotcoords(State &state, int format);

struct WellName
{
    QChar letter;
    int number = 0;

    // "B 1": the letter, a blank and the column number.
    QString toString() const;
};

// The row letter and column number of sample s.
WellName spotname(const State &state, int s);

// The sample whose ring contains the plate point (x, y), or 0.
int spotat(const State &state, float x, float y);

// A well's row and column in the plate frame, both from 1; both 0 when s
// is no well of the plate. Samples run along the rows: sample 2 is row 1,
// column 2.
struct PlatePlace
{
    int row = 0;
    int column = 0;
};
PlatePlace platePlace(const State &state, int s);

// The well at a row and column of the plate frame, or 0 when there is none.
int wellAt(const State &state, int row, int column);

// Which way an arrow key points on the screen.
enum class ScreenDirection { Left, Right, Up, Down };

// The well beside sample s on the map in that direction, or s itself at
// the plate's edge; 0 when s is not a well of the plate. Plate rows run
// left to right across the map and columns upwards, column 1 at the bottom.
int neighbourWell(const State &state, int s, ScreenDirection direction);

} // namespace Tessar

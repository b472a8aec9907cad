// The stage wing: plate types in millimetres, calibration to the stage, visit routes and the position files.
#pragma once

#include <QPointF>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Tessar {

struct State;

// A plate as its maker draws it: A1 at the top left, rows A, B, ...
// downwards, columns 1, 2, ... to the right, every length in millimetres
// from the plate's left and top edges. The map keeps its own plate units;
// nothing here changes how it draws.
struct PlateType
{
    QString name;
    int rows = 0;
    int cols = 0;
    double a1Left = 0;      // A1's centre from the left edge
    double a1Top = 0;       // and from the top edge
    double pitchX = 0;      // from one column to the next
    double pitchY = 0;      // from one row to the next
    double width = 0;       // the footprint
    double height = 0;
    double wellDiameter = 0;    // 0: not given
    bool builtIn = false;
    bool typical = false;       // typical values that no standard fixes

    int wells() const { return rows * cols; }
    friend bool operator==(const PlateType &, const PlateType &) = default;
};

// Row and column of a well, both from 1.
struct GridWell
{
    int row = 0;
    int col = 0;
    friend bool operator==(const GridWell &, const GridWell &) = default;
};

// The standard footprints and the usual 24- and 48-well layouts.
const std::vector<PlateType> &builtInPlateTypes();

// The plate type a plate of `wells` wells starts with; nullptr when the
// program has no such plate.
const PlateType *defaultPlateType(int wells);

// Why a plate type cannot be used or stored, or an empty text when it can:
// a name, the rows and columns of one of the program's plates, pitches and
// distances that put every well inside the footprint.
QString plateTypeProblem(const PlateType &type);

// Why the type cannot place the wells of the document, or an empty text.
QString plateTypeMismatch(const PlateType &type, const State &state);

// The centre of a well in millimetres from the left and top edges.
QPointF wellCentre(const PlateType &type, GridWell well);
GridWell placeOfSample(const PlateType &type, int s);

// "A1", "P24", "AF48": rows after Z go on with AA, AB, ...
QString stageWellName(GridWell well);
// The well a name stands for ("b7", "AA 12" alike), or none when it is no
// well of the type.
std::optional<GridWell> parseStageWell(const PlateType &type, QStringView text);

// A type given as numbers: "ROWSxCOLS,A1X,A1Y,PITCHX,PITCHY" in
// millimetres, on the standard footprint. *problem says why when it is none.
std::optional<PlateType> parseCustomPlate(QStringView text, QString *problem);

// A number as a user types it: '.' or, where there is none, ',' for the
// decimals, blanks around it ignored; none for anything else.
std::optional<double> typedNumber(QStringView text);

// A length as the files write it: '.' for the decimals whatever the
// locale, at most `decimals` of them, no trailing zeros, never "-0".
QString decimalText(double value, int decimals);

} // namespace Tessar

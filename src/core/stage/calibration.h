#pragma once

#include "core/stage/platetype.h"

#include <QPointF>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Tessar {

enum class StageUnit { Micrometre, Millimetre };

// 1000 or 1.
double unitsPerMm(StageUnit unit);
// "µm" or "mm", as headers and dialogs show them.
QString unitSymbol(StageUnit unit);
// "um" or "mm", as the command line and the settings write them.
QString unitKey(StageUnit unit);
std::optional<StageUnit> unitFromKey(QStringView key);

// A well whose stage coordinates the user read off the stage.
struct TaughtWell
{
    GridWell well;
    QPointF stage;      // in the calibration's units
    friend bool operator==(const TaughtWell &, const TaughtWell &) = default;
};

inline constexpr int MinTaughtWells = 2;
inline constexpr int MaxTaughtWells = 3;

// The plate as one stage sees it. With two taught wells the fit can only
// turn, scale and shift the plate, so it takes the axes' directions from
// here; three wells also give shear and mirroring.
struct Calibration
{
    QString name;
    QString plateType;
    StageUnit unit = StageUnit::Micrometre;
    bool xToRight = true;   // stage X grows from column 1 towards the last column
    bool yDown = true;      // stage Y grows from row A towards the last row
    std::vector<TaughtWell> wells;
    friend bool operator==(const Calibration &, const Calibration &) = default;
};

// stage = (a b; c d) * plate + (tx, ty).
struct AffineMap
{
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    QPointF map(QPointF p) const { return {a * p.x() + b * p.y() + tx, c * p.x() + d * p.y() + ty}; }
    double determinant() const { return a * d - b * c; }
};

struct CalibrationFit
{
    bool ok = false;
    QString problem;            // why there is no fit
    AffineMap toStage;          // plate millimetres to the calibration's units
    StageUnit unit = StageUnit::Micrometre;
    // At each taught well, in the calibration's units: how far it lies from
    // where the plate's own geometry, turned and shifted to match the taught
    // wells best but not stretched, puts it. A mistyped number shows here
    // even where the fit itself passes through every taught well.
    std::vector<double> residuals;
    double scale = 1;           // the fit's size against the plate's (1: as the units say)
    double rotationDegrees = 0;
    bool mirrored = false;

    // A plate point in micrometres on the stage.
    QPointF toMicrometres(QPointF plateMm) const;
};

// Fits the plate to the stage; refuses, saying why, a calibration that
// cannot place the plate: too few or too many wells, a well taught twice
// or not on the plate, two wells at one stage position, wells on one line,
// numbers that are not finite or that make the plate far from its size.
CalibrationFit fitCalibration(const PlateType &type, const Calibration &calibration);

} // namespace Tessar

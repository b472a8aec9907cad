#include "core/stage/calibration.h"

#include <QStringList>

#include <cmath>
#include <numbers>

namespace Tessar {

namespace {

// Stage coordinates past a metre in µm are no stage's.
constexpr double LargestCoordinate = 1e9;

CalibrationFit refused(const QString &why)
{
    CalibrationFit fit;
    fit.problem = why;
    return fit;
}

QString namesOf(const std::vector<TaughtWell> &wells)
{
    QStringList names;
    for (const TaughtWell &w : wells)
        names << stageWellName(w.well);
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

struct Spread
{
    double xx = 0, xy = 0, yy = 0;
    // Near zero against the spread's size: every point on one line.
    bool flat() const { return std::abs(xx * yy - xy * xy) <= 1e-9 * (xx + yy) * (xx + yy); }
};

Spread spreadOf(const std::vector<QPointF> &points, QPointF centre)
{
    Spread s;
    for (const QPointF &p : points) {
        const QPointF q = p - centre;
        s.xx += q.x() * q.x();
        s.xy += q.x() * q.y();
        s.yy += q.y() * q.y();
    }
    return s;
}

QPointF centreOf(const std::vector<QPointF> &points)
{
    QPointF sum;
    for (const QPointF &p : points)
        sum += p;
    return sum / double(points.size());
}

double length(QPointF p)
{
    return std::hypot(p.x(), p.y());
}

} // namespace

double unitsPerMm(StageUnit unit)
{
    return unit == StageUnit::Micrometre ? 1000.0 : 1.0;
}

QString unitSymbol(StageUnit unit)
{
    return unit == StageUnit::Micrometre ? QStringLiteral("\u00b5m") : QStringLiteral("mm");
}

QString unitKey(StageUnit unit)
{
    return unit == StageUnit::Micrometre ? QStringLiteral("um") : QStringLiteral("mm");
}

std::optional<StageUnit> unitFromKey(QStringView key)
{
    if (key == u"um" || key == u"\u00b5m")
        return StageUnit::Micrometre;
    if (key == u"mm")
        return StageUnit::Millimetre;
    return std::nullopt;
}

QPointF CalibrationFit::toMicrometres(QPointF plateMm) const
{
    return toStage.map(plateMm) * (1000.0 / unitsPerMm(unit));
}

CalibrationFit fitCalibration(const PlateType &type, const Calibration &calibration)
{
    const std::vector<TaughtWell> &wells = calibration.wells;
    const int n = int(wells.size());
    if (n < MinTaughtWells || n > MaxTaughtWells)
        return refused(QStringLiteral("Teach two wells (for example A1 and the last well) or three (adding the last "
                                      "well of row A)."));
    for (int i = 0; i < n; ++i) {
        const TaughtWell &w = wells[std::size_t(i)];
        if (w.well.row < 1 || w.well.col < 1 || w.well.row > type.rows || w.well.col > type.cols)
            return refused(QStringLiteral("%1 is no well of %2.").arg(stageWellName(w.well), type.name));
        if (!std::isfinite(w.stage.x()) || !std::isfinite(w.stage.y()) || std::abs(w.stage.x()) > LargestCoordinate
            || std::abs(w.stage.y()) > LargestCoordinate)
            return refused(QStringLiteral("The stage position of %1 is no usable number.").arg(stageWellName(w.well)));
        for (int j = 0; j < i; ++j) {
            const TaughtWell &v = wells[std::size_t(j)];
            if (v.well == w.well)
                return refused(QStringLiteral("%1 is taught twice: teach different wells.").arg(stageWellName(w.well)));
            if (length(v.stage - w.stage) < 1e-9 * (1 + length(w.stage)))
                return refused(QStringLiteral("%1 and %2 are taught at one stage position: each well needs its own.")
                                   .arg(stageWellName(v.well), stageWellName(w.well)));
        }
    }

    std::vector<QPointF> plate;
    std::vector<QPointF> stage;
    for (const TaughtWell &w : wells) {
        plate.push_back(wellCentre(type, w.well));
        stage.push_back(w.stage);
    }
    const QPointF pc = centreOf(plate);
    const QPointF sc = centreOf(stage);

    CalibrationFit fit;
    fit.unit = calibration.unit;
    AffineMap &m = fit.toStage;
    const double sx = calibration.xToRight ? 1 : -1;
    const double sy = calibration.yDown ? 1 : -1;
    if (n == 2) {
        // As complex numbers: stage = k * flipped plate + t.
        const QPointF dp = plate[1] - plate[0];
        const QPointF fp(sx * dp.x(), sy * dp.y());
        const QPointF ds = stage[1] - stage[0];
        const double norm = fp.x() * fp.x() + fp.y() * fp.y();
        const double kr = (ds.x() * fp.x() + ds.y() * fp.y()) / norm;
        const double ki = (ds.y() * fp.x() - ds.x() * fp.y()) / norm;
        m = {kr * sx, -ki * sy, ki * sx, kr * sy, 0, 0};
    } else {
        const Spread p = spreadOf(plate, pc);
        if (p.flat())
            return refused(QStringLiteral("%1 lie on one line: teach a well off that line.").arg(namesOf(wells)));
        if (spreadOf(stage, sc).flat())
            return refused(QStringLiteral("The stage positions of %1 lie on one line, which no plate does: check "
                                          "the numbers.")
                               .arg(namesOf(wells)));
        // Least squares, centred: (a b) solves the spread against stage x, (c d) against stage y.
        double ux = 0, uy = 0, vx = 0, vy = 0;
        for (int i = 0; i < n; ++i) {
            const QPointF q = plate[std::size_t(i)] - pc;
            const QPointF s = stage[std::size_t(i)] - sc;
            ux += q.x() * s.x();
            uy += q.y() * s.x();
            vx += q.x() * s.y();
            vy += q.y() * s.y();
        }
        const double det = p.xx * p.yy - p.xy * p.xy;
        m.a = (ux * p.yy - uy * p.xy) / det;
        m.b = (uy * p.xx - ux * p.xy) / det;
        m.c = (vx * p.yy - vy * p.xy) / det;
        m.d = (vy * p.xx - vx * p.xy) / det;
    }
    const QPointF shift = sc - QPointF(m.a * pc.x() + m.b * pc.y(), m.c * pc.x() + m.d * pc.y());
    m.tx = shift.x();
    m.ty = shift.y();

    const double nominal = unitsPerMm(calibration.unit);
    fit.scale = std::sqrt(std::abs(m.determinant())) / nominal;
    fit.mirrored = m.determinant() < 0;
    if (!(fit.scale >= 0.5 && fit.scale <= 2.0))
        return refused(QStringLiteral("The taught positions make the plate %1 times its size: check the numbers and "
                                      "the units (%2).")
                           .arg(decimalText(fit.scale, fit.scale < 0.01 ? 6 : 3), unitSymbol(calibration.unit)));
    fit.rotationDegrees = std::atan2(m.c, m.a) * 180 / std::numbers::pi;

    // The plate's own geometry at the stated size, only turned (and
    // mirrored as the fit is) to match the taught wells best.
    const double flip = fit.mirrored ? -1 : 1;
    double dotSum = 0, crossSum = 0;
    for (int i = 0; i < n; ++i) {
        const QPointF q = plate[std::size_t(i)] - pc;
        const QPointF f(q.x(), flip * q.y());
        const QPointF s = stage[std::size_t(i)] - sc;
        dotSum += f.x() * s.x() + f.y() * s.y();
        crossSum += f.x() * s.y() - f.y() * s.x();
    }
    const double angle = std::atan2(crossSum, dotSum);
    const double cs = std::cos(angle) * nominal, sn = std::sin(angle) * nominal;
    for (int i = 0; i < n; ++i) {
        const QPointF q = plate[std::size_t(i)] - pc;
        const QPointF f(q.x(), flip * q.y());
        const QPointF rigid = sc + QPointF(cs * f.x() - sn * f.y(), sn * f.x() + cs * f.y());
        fit.residuals.push_back(length(stage[std::size_t(i)] - rigid));
    }
    fit.ok = true;
    return fit;
}

} // namespace Tessar

#include "core/stage/platetype.h"

#include "core/document/state.h"
#include "core/plate/plategeometry.h"

#include <QStringList>

#include <cmath>

namespace Tessar {

namespace {

constexpr double FootprintWidth = 127.76;
constexpr double FootprintHeight = 85.48;
// Nothing on a stage is this large; the bound keeps a hand-edited setting
// from turning into positions no stage can reach.
constexpr double LargestLength = 1000.0;

PlateType builtIn(const char *name, int rows, int cols, double left, double top, double pitch, bool typical)
{
    PlateType type;
    type.name = QString::fromUtf8(name);
    type.rows = rows;
    type.cols = cols;
    type.a1Left = left;
    type.a1Top = top;
    type.pitchX = pitch;
    type.pitchY = pitch;
    type.width = FootprintWidth;
    type.height = FootprintHeight;
    type.builtIn = true;
    type.typical = typical;
    return type;
}

bool usableLength(double value, bool zeroAllowed)
{
    return std::isfinite(value) && (zeroAllowed ? value >= 0 : value > 0) && value <= LargestLength;
}

QString number(double value)
{
    return decimalText(value, 3);
}

} // namespace

const std::vector<PlateType> &builtInPlateTypes()
{
    static const std::vector<PlateType> types{
        builtIn("24-well (typical values)", 4, 6, 17.05, 13.67, 19.30, true),
        builtIn("48-well (typical values)", 6, 8, 18.16, 10.08, 13.08, true),
        builtIn("ANSI/SLAS 96", 8, 12, 14.38, 11.24, 9.00, false),
        builtIn("ANSI/SLAS 384", 16, 24, 12.13, 8.99, 4.50, false),
        builtIn("ANSI/SLAS 1536", 32, 48, 11.005, 7.865, 2.25, false),
    };
    return types;
}

const PlateType *defaultPlateType(int wells)
{
    for (const PlateType &type : builtInPlateTypes()) {
        if (type.wells() == wells)
            return &type;
    }
    return nullptr;
}

QString plateTypeProblem(const PlateType &type)
{
    if (type.name.trimmed().isEmpty())
        return QStringLiteral("A plate type needs a name.");
    if (type.name != type.name.trimmed() || type.name.size() > 60)
        return QStringLiteral("The name \"%1\" must have no blanks at either end and at most 60 characters.").arg(type.name);
    const PlateFormat *format = plateFormat(type.wells());
    if (type.rows < 1 || type.cols < 1 || type.rows > 32 || type.cols > 48 || !format || format->rows != type.rows)
        return QStringLiteral("%1 rows of %2 wells is none of the plates Tessar holds: "
                              "4 \u00d7 6, 6 \u00d7 8, 8 \u00d7 12, 16 \u00d7 24 or 32 \u00d7 48.")
            .arg(type.rows)
            .arg(type.cols);
    if (!usableLength(type.pitchX, false) || !usableLength(type.pitchY, false))
        return QStringLiteral("The pitch must be more than 0 mm and at most %1 mm.").arg(LargestLength);
    if (!usableLength(type.width, false) || !usableLength(type.height, false))
        return QStringLiteral("The footprint must be more than 0 mm and at most %1 mm each way.").arg(LargestLength);
    if (!usableLength(type.a1Left, false) || !usableLength(type.a1Top, false))
        return QStringLiteral("A1 must lie inside the plate: more than 0 mm from its left and top edges.");
    if (!usableLength(type.wellDiameter, true))
        return QStringLiteral("The well diameter must be 0 mm (not given) or more, up to %1 mm.").arg(LargestLength);
    const double right = type.a1Left + (type.cols - 1) * type.pitchX;
    const double bottom = type.a1Top + (type.rows - 1) * type.pitchY;
    if (right >= type.width || bottom >= type.height)
        return QStringLiteral("The last well, %1, would lie at %2 \u00d7 %3 mm, outside the %4 \u00d7 %5 mm footprint.")
            .arg(stageWellName({type.rows, type.cols}), number(right), number(bottom), number(type.width),
                 number(type.height));
    if (type.wellDiameter > std::min(type.pitchX, type.pitchY))
        return QStringLiteral("Wells of %1 mm would overlap at a pitch of %2 mm.")
            .arg(number(type.wellDiameter), number(std::min(type.pitchX, type.pitchY)));
    return QString();
}

QString plateTypeMismatch(const PlateType &type, const State &state)
{
    if (type.rows == state.nRows && type.cols == state.nCols)
        return QString();
    return QStringLiteral("%1 has %2 wells (%3 \u00d7 %4); the document's plate has %5.")
        .arg(type.name)
        .arg(type.wells())
        .arg(type.rows)
        .arg(type.cols)
        .arg(state.wellCount);
}

QPointF wellCentre(const PlateType &type, GridWell well)
{
    return {type.a1Left + (well.col - 1) * type.pitchX, type.a1Top + (well.row - 1) * type.pitchY};
}

GridWell placeOfSample(const PlateType &type, int s)
{
    if (type.cols < 1 || s < 1)
        return {};
    return {(s - 1) / type.cols + 1, (s - 1) % type.cols + 1};
}

QString stageWellName(GridWell well)
{
    QString letters;
    for (int r = well.row; r > 0; r = (r - 1) / 26)
        letters.prepend(QChar(u'A' + (r - 1) % 26));
    return letters + QString::number(well.col);
}

std::optional<GridWell> parseStageWell(const PlateType &type, QStringView text)
{
    text = text.trimmed();
    int row = 0;
    qsizetype i = 0;
    for (; i < text.size() && text[i].isLetter() && i < 3; ++i) {
        const char16_t c = text[i].toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return std::nullopt;
        row = row * 26 + (c - u'A' + 1);
    }
    if (i == 0)
        return std::nullopt;
    bool ok = false;
    const QStringView digits = text.mid(i).trimmed();
    const int col = digits.size() <= 4 ? digits.toInt(&ok) : 0;
    if (!ok || digits.startsWith(u'+') || digits.startsWith(u'-') || row > type.rows || col < 1 || col > type.cols)
        return std::nullopt;
    return GridWell{row, col};
}

std::optional<PlateType> parseCustomPlate(QStringView text, QString *problem)
{
    auto refuse = [problem](const QString &why) -> std::optional<PlateType> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    const QList<QStringView> parts = text.split(u',');
    const QList<QStringView> grid = parts.value(0).split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (parts.size() != 5 || grid.size() != 2)
        return refuse(QStringLiteral("a plate given as numbers is ROWSxCOLS,A1X,A1Y,PITCHX,PITCHY in mm, "
                                     "for example 8x12,14.38,11.24,9,9"));
    PlateType type;
    type.name = QStringLiteral("custom");
    bool ok[6] = {};
    type.rows = grid[0].trimmed().toInt(&ok[0]);
    type.cols = grid[1].trimmed().toInt(&ok[1]);
    type.a1Left = parts[1].trimmed().toDouble(&ok[2]);
    type.a1Top = parts[2].trimmed().toDouble(&ok[3]);
    type.pitchX = parts[3].trimmed().toDouble(&ok[4]);
    type.pitchY = parts[4].trimmed().toDouble(&ok[5]);
    for (bool good : ok) {
        if (!good)
            return refuse(QStringLiteral("\"%1\" holds something that is not a number").arg(text));
    }
    type.width = FootprintWidth;
    type.height = FootprintHeight;
    const QString why = plateTypeProblem(type);
    if (!why.isEmpty())
        return refuse(why);
    return type;
}

std::optional<double> typedNumber(QStringView text)
{
    QString plain = text.trimmed().toString();
    if (!plain.contains(u'.') && plain.count(u',') == 1)
        plain.replace(u',', u'.');
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString decimalText(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0;    // no "-0"
    QString text = QString::number(rounded, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

} // namespace Tessar

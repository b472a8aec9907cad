#include "core/stage/stagesettings.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace Tessar {

namespace {

const QString StageGroup = QStringLiteral("Stage");
const QString TypesArray = QStringLiteral("Plate Types");
const QString CalibrationsArray = QStringLiteral("Calibrations");

QString readText(const QSettings &store, const QString &key)
{
    const QVariant value = store.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// Numbers are written with '.' whatever the locale and read the same way;
// anything else reads as not a number.
double readNumber(const QSettings &store, const QString &key, double missing = std::nan(""))
{
    if (!store.contains(key))
        return missing;
    bool ok = false;
    const double value = readText(store, key).trimmed().toDouble(&ok);
    return ok ? value : std::nan("");
}

int readWhole(const QSettings &store, const QString &key)
{
    bool ok = false;
    const int value = readText(store, key).trimmed().toInt(&ok);
    return ok ? value : -1;
}

QString numberText(double value)
{
    return decimalText(value, 6);
}

} // namespace

std::vector<PlateType> StageSettings::allTypes() const
{
    std::vector<PlateType> types = builtInPlateTypes();
    types.insert(types.end(), userTypes.begin(), userTypes.end());
    return types;
}

const PlateType *StageSettings::findType(const QString &name) const
{
    for (const PlateType &type : builtInPlateTypes()) {
        if (type.name == name)
            return &type;
    }
    for (const PlateType &type : userTypes) {
        if (type.name == name)
            return &type;
    }
    return nullptr;
}

const PlateType *StageSettings::chosenType(int wells) const
{
    const auto it = chosen.find(wells);
    if (it != chosen.end()) {
        const PlateType *type = findType(it->second);
        if (type && type->wells() == wells)
            return type;
    }
    return defaultPlateType(wells);
}

std::vector<const Calibration *> StageSettings::calibrationsOf(const QString &typeName) const
{
    std::vector<const Calibration *> found;
    for (const Calibration &c : calibrations) {
        if (c.plateType == typeName)
            found.push_back(&c);
    }
    return found;
}

const Calibration *StageSettings::findCalibration(const QString &typeName, const QString &name) const
{
    for (const Calibration *c : calibrationsOf(typeName)) {
        if (c->name == name)
            return c;
    }
    return nullptr;
}

QString StageSettings::putType(const PlateType &given, const QString &replacing)
{
    PlateType type = given;
    type.builtIn = false;
    type.typical = false;
    const QString problem = plateTypeProblem(type);
    if (!problem.isEmpty())
        return problem;
    const PlateType *same = findType(type.name);
    if (same && (same->builtIn || same->name != replacing))
        return QStringLiteral("There is a plate type named \"%1\" already.").arg(type.name);
    const auto old = std::find_if(userTypes.begin(), userTypes.end(),
                                  [&](const PlateType &t) { return !replacing.isEmpty() && t.name == replacing; });
    if (old == userTypes.end()) {
        userTypes.push_back(type);
        return QString();
    }
    *old = type;
    // A calibration the changed type cannot place (its wells are gone) goes with the change.
    std::erase_if(calibrations, [&](const Calibration &c) {
        return c.plateType == replacing && !fitCalibration(type, c).ok;
    });
    if (replacing != type.name) {
        for (Calibration &c : calibrations) {
            if (c.plateType == replacing)
                c.plateType = type.name;
        }
        for (auto &[wells, name] : chosen) {
            if (name == replacing)
                name = type.name;
        }
    }
    return QString();
}

void StageSettings::removeType(const QString &name)
{
    std::erase_if(userTypes, [&](const PlateType &t) { return t.name == name; });
    std::erase_if(calibrations, [&](const Calibration &c) { return c.plateType == name; });
    std::erase_if(chosen, [&](const auto &entry) { return entry.second == name; });
}

QString StageSettings::putCalibration(const Calibration &calibration)
{
    const PlateType *type = findType(calibration.plateType);
    if (!type)
        return QStringLiteral("There is no plate type named \"%1\".").arg(calibration.plateType);
    if (calibration.name.trimmed().isEmpty() || calibration.name != calibration.name.trimmed()
        || calibration.name.size() > 60)
        return QStringLiteral("A calibration needs a name of at most 60 characters, with no blanks at either end.");
    const CalibrationFit fit = fitCalibration(*type, calibration);
    if (!fit.ok)
        return fit.problem;
    for (Calibration &c : calibrations) {
        if (c.plateType == calibration.plateType && c.name == calibration.name) {
            c = calibration;
            return QString();
        }
    }
    calibrations.push_back(calibration);
    return QString();
}

StageSettings loadStageSettings(QSettings &store)
{
    StageSettings settings;
    store.beginGroup(StageGroup);

    const int types = std::clamp(store.beginReadArray(TypesArray), 0, 1000);
    for (int i = 0; i < types; ++i) {
        store.setArrayIndex(i);
        PlateType type;
        type.name = readText(store, QStringLiteral("Name"));
        type.rows = readWhole(store, QStringLiteral("Rows"));
        type.cols = readWhole(store, QStringLiteral("Columns"));
        type.a1Left = readNumber(store, QStringLiteral("A1 Left"));
        type.a1Top = readNumber(store, QStringLiteral("A1 Top"));
        type.pitchX = readNumber(store, QStringLiteral("Pitch X"));
        type.pitchY = readNumber(store, QStringLiteral("Pitch Y"));
        type.width = readNumber(store, QStringLiteral("Width"));
        type.height = readNumber(store, QStringLiteral("Height"));
        type.wellDiameter = readNumber(store, QStringLiteral("Well Diameter"), 0);
        const QString problem = settings.putType(type);
        if (!problem.isEmpty())
            settings.problems << QStringLiteral("Plate type %1 (\"%2\") was left out: %3").arg(i + 1).arg(type.name, problem);
    }
    store.endArray();

    const int calibrations = std::clamp(store.beginReadArray(CalibrationsArray), 0, 1000);
    for (int i = 0; i < calibrations; ++i) {
        store.setArrayIndex(i);
        Calibration c;
        c.name = readText(store, QStringLiteral("Name"));
        c.plateType = readText(store, QStringLiteral("Plate Type"));
        const std::optional<StageUnit> unit = unitFromKey(readText(store, QStringLiteral("Units")));
        c.unit = unit.value_or(StageUnit::Micrometre);
        c.xToRight = readText(store, QStringLiteral("X Direction")) != QLatin1String("left");
        c.yDown = readText(store, QStringLiteral("Y Direction")) != QLatin1String("up");
        const PlateType *type = settings.findType(c.plateType);
        QString problem = unit ? QString() : QStringLiteral("the units are neither um nor mm");
        for (int w = 1; w <= MaxTaughtWells && type && problem.isEmpty(); ++w) {
            const QString wellKey = QStringLiteral("Well %1").arg(w);
            if (!store.contains(wellKey))
                break;
            const std::optional<GridWell> well = parseStageWell(*type, readText(store, wellKey));
            if (!well) {
                problem = QStringLiteral("\"%1\" is no well of %2").arg(readText(store, wellKey), type->name);
                break;
            }
            c.wells.push_back({*well, QPointF(readNumber(store, QStringLiteral("X %1").arg(w)),
                                              readNumber(store, QStringLiteral("Y %1").arg(w)))});
        }
        if (problem.isEmpty())
            problem = settings.putCalibration(c);
        if (!problem.isEmpty())
            settings.problems << QStringLiteral("Calibration %1 (\"%2\") was left out: %3").arg(i + 1).arg(c.name, problem);
    }
    store.endArray();

    for (const PlateType &type : builtInPlateTypes()) {
        const QString key = QStringLiteral("Plate Type %1").arg(type.wells());
        const QString name = readText(store, key);
        if (name.isEmpty())
            continue;
        const PlateType *chosen = settings.findType(name);
        if (chosen && chosen->wells() == type.wells())
            settings.chosen[type.wells()] = name;
        else
            settings.problems << QStringLiteral("The plate type chosen for %1 wells, \"%2\", is not one of %1 wells.")
                                     .arg(type.wells())
                                     .arg(name);
    }
    store.endGroup();
    return settings;
}

void saveStageSettings(QSettings &store, const StageSettings &settings)
{
    store.beginGroup(StageGroup);
    store.remove(QString());
    store.beginWriteArray(TypesArray, int(settings.userTypes.size()));
    for (int i = 0; i < int(settings.userTypes.size()); ++i) {
        const PlateType &type = settings.userTypes[std::size_t(i)];
        store.setArrayIndex(i);
        store.setValue(QStringLiteral("Name"), type.name);
        store.setValue(QStringLiteral("Rows"), QString::number(type.rows));
        store.setValue(QStringLiteral("Columns"), QString::number(type.cols));
        store.setValue(QStringLiteral("A1 Left"), numberText(type.a1Left));
        store.setValue(QStringLiteral("A1 Top"), numberText(type.a1Top));
        store.setValue(QStringLiteral("Pitch X"), numberText(type.pitchX));
        store.setValue(QStringLiteral("Pitch Y"), numberText(type.pitchY));
        store.setValue(QStringLiteral("Width"), numberText(type.width));
        store.setValue(QStringLiteral("Height"), numberText(type.height));
        store.setValue(QStringLiteral("Well Diameter"), numberText(type.wellDiameter));
    }
    store.endArray();
    store.beginWriteArray(CalibrationsArray, int(settings.calibrations.size()));
    for (int i = 0; i < int(settings.calibrations.size()); ++i) {
        const Calibration &c = settings.calibrations[std::size_t(i)];
        store.setArrayIndex(i);
        store.setValue(QStringLiteral("Name"), c.name);
        store.setValue(QStringLiteral("Plate Type"), c.plateType);
        store.setValue(QStringLiteral("Units"), unitKey(c.unit));
        store.setValue(QStringLiteral("X Direction"), c.xToRight ? QStringLiteral("right") : QStringLiteral("left"));
        store.setValue(QStringLiteral("Y Direction"), c.yDown ? QStringLiteral("down") : QStringLiteral("up"));
        for (int w = 0; w < int(c.wells.size()); ++w) {
            const TaughtWell &t = c.wells[std::size_t(w)];
            store.setValue(QStringLiteral("Well %1").arg(w + 1), stageWellName(t.well));
            store.setValue(QStringLiteral("X %1").arg(w + 1), decimalText(t.stage.x(), 6));
            store.setValue(QStringLiteral("Y %1").arg(w + 1), decimalText(t.stage.y(), 6));
        }
    }
    store.endArray();
    for (const auto &[wells, name] : settings.chosen)
        store.setValue(QStringLiteral("Plate Type %1").arg(wells), name);
    store.endGroup();
}

} // namespace Tessar

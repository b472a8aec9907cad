#pragma once

#include "core/stage/calibration.h"
#include "core/stage/platetype.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class QSettings;

namespace Tessar {

// The user's plate types and calibrations, and the type chosen for each
// well count, as the settings keep them (group "Stage").
struct StageSettings
{
    std::vector<PlateType> userTypes;
    std::vector<Calibration> calibrations;
    std::map<int, QString> chosen;      // well count -> plate type name
    // Stored entries that were left out on reading, and why.
    QStringList problems;

    // The built-in types, then the user's.
    std::vector<PlateType> allTypes() const;
    const PlateType *findType(const QString &name) const;
    // The type remembered for a well count, or the count's first built-in one.
    const PlateType *chosenType(int wells) const;
    std::vector<const Calibration *> calibrationsOf(const QString &typeName) const;
    const Calibration *findCalibration(const QString &typeName, const QString &name) const;

    // Adds a user type, or replaces the one named `replacing`; calibrations
    // and choices follow a renamed type. Returns why not, or an empty text.
    QString putType(const PlateType &type, const QString &replacing = QString());
    void removeType(const QString &name);
    // Adds a calibration, or replaces the one of the same type and name.
    QString putCalibration(const Calibration &calibration);
};

// Everything read is checked as a dialog would check it: a type or
// calibration that fails is left out, with a line in `problems`, and the
// rest is kept.
StageSettings loadStageSettings(QSettings &store);
void saveStageSettings(QSettings &store, const StageSettings &settings);

} // namespace Tessar

#include "core/document/settings.h"

#include "core/document/numbers.h"
#include "core/plate/plategeometry.h"
#include "core/document/state.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <cmath>

namespace Tessar {

namespace {

const QString mainGroup = QStringLiteral("Main");
const QString windowGroup = QStringLiteral("WNDO");

// Every value is a string. A hand-edited line holding a comma comes back
// from the INI reader as a list; it is still one text to us.
QString readText(const QSettings &store, const QString &key, const QString &fallback)
{
    const QVariant value = store.value(key, fallback);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

double readNumber(const QSettings &store, const QString &key, const QString &fallback)
{
    return leadingNumber(readText(store, key, fallback));
}

QString fieldKey(int f)
{
    return QStringLiteral("Field ") + QString::number(f);
}

QString operatorKey(int k)
{
    return QStringLiteral("Operator ") + QString::number(k);
}

} // namespace

QString settingsFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Corvant/Corvant.ini"));
}

WindowPlacement LoadSettings(State &state, QSettings &store, QSizeF screenTwips,
                             const QString &programDir)
{
    store.beginGroup(mainGroup);
    state.profileDir = readText(store, QStringLiteral("Profile"), QString());
    store.endGroup();
    if (state.profileDir.isEmpty())
        state.profileDir = programDir;

    store.beginGroup(windowGroup);

    // The document holds captions for at most ten rows; anything else the
    // store may have been edited to says nothing we can use.
    const double rows = readNumber(store, QStringLiteral("NumField"), QString::number(DefaultNumField));
    const bool rowsUsable = rows == std::trunc(rows) && rows >= MinFields && rows <= MaxFields;
    state.numField = float(rowsUsable ? rows : DefaultNumField);

    state.company = readText(store, QStringLiteral("Company"), QStringLiteral("HALV"));
    const int nf = state.fieldCount();
    for (int f = 0; f < nf; ++f) {
        state.fieldName[std::size_t(f)] =
            readText(store, fieldKey(f), QStringLiteral("description") + QString::number(f + 1));
    }
    for (int k = 1; k <= KeyCount; ++k)
        state.keyName[std::size_t(k)] = readText(store, operatorKey(k), QString());

    state.colorsOn = readText(store, QStringLiteral("Colors"), QStringLiteral("yes"));
    const int wells = roundToInt(readNumber(store, QStringLiteral("Well Size"),
                                            QString::number(DefaultWellCount)));
    state.wellCount = isPlateFormat(wells) ? wells : DefaultWellCount;

    WindowPlacement window;
    window.height = float(readNumber(store, QStringLiteral("Height"), QStringLiteral("4600")));
    window.width = float(readNumber(store, QStringLiteral("Width"), QStringLiteral("6000")));
    window.left = float(readNumber(store, QStringLiteral("Left"),
                                   numberText(float((screenTwips.width() - window.width) / 2))));
    window.top = float(readNumber(store, QStringLiteral("Top"),
                                  numberText(float((screenTwips.height() - window.height) / 2))));
    store.endGroup();
    return window;
}

void SaveSettings(const State &state, QSettings &store, const WindowPlacement &window)
{
    store.beginGroup(windowGroup);
    store.setValue(QStringLiteral("Height"), numberText(float(window.height)));
    store.setValue(QStringLiteral("Width"), numberText(float(window.width)));
    store.setValue(QStringLiteral("Company"), state.company);
    store.setValue(QStringLiteral("NumField"), numberText(state.numField));
    const int nf = std::clamp(state.fieldCount(), 0, int(state.fieldName.size()));
    for (int f = 0; f < nf; ++f)
        store.setValue(fieldKey(f), state.fieldName[std::size_t(f)]);
    for (int k = 1; k <= KeyCount; ++k)
        store.setValue(operatorKey(k), state.keyName[std::size_t(k)]);
    store.setValue(QStringLiteral("Well Size"), QString::number(state.wellCount));
    store.setValue(QStringLiteral("Colors"), state.colorsOn);
    store.setValue(QStringLiteral("Left"), numberText(float(window.left)));
    store.setValue(QStringLiteral("Top"), numberText(float(window.top)));
    store.endGroup();
    store.sync();
}

} // namespace Tessar

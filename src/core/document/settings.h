#pragma once

#include <QSizeF>
#include <QString>

class QSettings;

namespace Tessar {

struct State;

// Where the main window goes, in twips, as the settings store holds it.
struct WindowPlacement
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

inline constexpr int DefaultNumField = 5;
inline constexpr int DefaultWellCount = 96;

// The per-user settings file, $XDG_CONFIG_HOME/Corvant/Corvant.ini.
QString settingsFilePath();

// Reads the configuration into the state and returns the stored window
// placement. screenTwips is the screen's size, used to centre a window that
// has no stored position; programDir stands in for an empty "Profile".
//
// Values the document cannot hold never reach it: a "NumField" that is not a
// whole number from 2 to 10 reads as the default 5, and a "Well Size" other
// than 24, 48, 96, 384 or 1536 reads as the default 96.
//
// Only the configuration is read; starting the first document (initialize5)
// is the caller's next step.
WindowPlacement LoadSettings(State &state, QSettings &store, QSizeF screenTwips,
                             const QString &programDir);

// Writes the configuration and the window's placement back. Caption keys at
// or beyond numField are left as they are.
void SaveSettings(const State &state, QSettings &store, const WindowPlacement &window);

} // namespace Tessar

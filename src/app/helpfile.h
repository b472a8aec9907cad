#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace Tessar {

inline constexpr char HelpFileName[] = "WNDO5.hlp";

// The folders searched for the help file, in order, each ending in "/": the
// program's own folder, its data folder (../share/tessar from there), then
// every PATH entry (an empty one is "/").
QStringList helpSearchDirs(const QString &programDir, const QString &pathVariable);

// The first of those folders that holds the help file: its full path, or
// an empty string.
QString findHelpFileIn(const QString &programDir, const QString &pathVariable);

// Searches beside the program and along PATH; remembers what it found.
bool FindHelpFile();

// The help file found by the last successful FindHelpFile(), or empty.
QString helpFilePath();

// The start-up warning for a missing help file.
void warnHelpMissing(QWidget *parent);

} // namespace Tessar

#pragma once

#include <QString>
#include <QStringList>

namespace Tessar {

// Tooltip texts that show what the user typed exactly as typed: a file
// name or a sample field with "<b>" in it is never taken for markup.
QString plainTip(const QString &text);
// A bold first line over plain ones.
QString plainTip(const QString &title, const QStringList &lines);

} // namespace Tessar

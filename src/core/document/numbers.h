#pragma once

#include <QString>
#include <QStringView>

namespace Tessar {

// The value of the number a text starts with, after leading blanks:
// "12.5 mm" is 12.5, "abc" and "" are 0. A full stop is the decimal
// separator whatever the locale.
double leadingNumber(QStringView text);

// Plain decimal text for a stored number: whole values without a decimal
// part ("4600"), others with a full stop and at most seven significant
// digits, as a single-precision value holds them ("2231.21").
QString numberText(double value);

} // namespace Tessar

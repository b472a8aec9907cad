#include "core/document/numbers.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace Tessar {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;

    // &H and &O prefixes give hexadecimal and octal whole numbers.
    if (i + 1 < n && text[i] == QLatin1Char('&')) {
        const QChar kind = text[i + 1].toUpper();
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base) {
            double value = 0;
            for (i += 2; i < n; ++i) {
                const int digit = QChar(text[i]).digitValue() >= 0
                    ? QChar(text[i]).digitValue()
                    : (text[i].toUpper() >= QLatin1Char('A') && text[i].toUpper() <= QLatin1Char('F')
                           ? text[i].toUpper().unicode() - 'A' + 10 : -1);
                if (digit < 0 || digit >= base)
                    break;
                value = value * base + digit;
            }
            return value;
        }
        return 0;
    }

    std::string number;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += char(text[i++].unicode());
    bool digits = false;
    while (i < n && isDigit(text[i])) {
        number += char(text[i++].unicode());
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        number += '.';
        ++i;
        while (i < n && isDigit(text[i])) {
            number += char(text[i++].unicode());
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i + 1 < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E')
                      || text[i] == QLatin1Char('d') || text[i] == QLatin1Char('D'))) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                exponent += char(text[j++].unicode());
            number += exponent;
        }
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

QString numberText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 7);
    if (text.contains(QLatin1Char('e'))) {
        text = QString::number(value, 'f', 7);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

} // namespace Tessar

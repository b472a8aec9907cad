#include "noquotevalidator.h"

#include <algorithm>

namespace Tessar {

QValidator::State NoQuoteValidator::validate(QString &input, int &pos) const
{
    const int before = int(input.left(std::clamp(pos, 0, int(input.size()))).count(u'"'));
    input.remove(u'"');
    pos = std::clamp(pos - before, 0, int(input.size()));
    return Acceptable;
}

void NoQuoteValidator::fixup(QString &input) const
{
    input.remove(u'"');
}

} // namespace Tessar

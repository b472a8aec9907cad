#include "core/plate/wellname.h"

#include "core/plate/plategeometry.h"
#include "core/document/state.h"

namespace Tessar {

QString wellLabel(const State &state, int s)
{
    const WellName name = spotname(state, s);
    return QString(name.letter) + QString::number(name.number);
}

int sampleOfWell(const State &state, QStringView text)
{
    text = text.trimmed();
    if (text.size() < 2)
        return -1;
    char16_t letter = text.front().unicode();
    if (letter >= u'a' && letter <= u'z')
        letter = char16_t(letter - u'a' + u'A');
    if (letter < u'A' || letter > u'`')
        return -1;
    QStringView digits = text.mid(1).trimmed();
    if (digits.isEmpty())
        return -1;
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    // Never more digits than a column number needs, so the sum cannot overflow.
    if (digits.size() > 6)
        return 0;
    int column = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return -1;
        column = column * 10 + (c.unicode() - u'0');
    }
    const int row = letter - u'A' + 1;
    if (row > state.nRows || column < 1 || column > state.nCols)
        return 0;
    return (row - 1) * state.nCols + column;
}

} // namespace Tessar

#include "core/plate/wellname.h"

#include "core/plate/plategeometry.h"
#include "core/document/state.h"

namespace Tessar {

QString wellLabel(const State &state, int s)
{
    const WellName name = spotname(state, s);
    return QString(name.letter) + QString::number(name.number);
}

QString standardWellName(const State &state, int s)
{
    const WellName name = spotname(state, s);
    return standardRowName(name.letter.unicode() - u'A' + 1) + QString::number(name.number);
}

QString standardRowName(int row)
{
    if (row <= 26)
        return QString(QChar(char16_t(u'A' + row - 1)));
    return QLatin1Char('A') + QChar(char16_t(u'A' + row - 27));
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
    int row = letter - u'A' + 1;
    qsizetype letters = 1;
    if (letter == u'A' && text[1].isLetter()) {
        char16_t second = text[1].unicode();
        if (second >= u'a' && second <= u'z')
            second = char16_t(second - u'a' + u'A');
        if (second < u'A' || second > u'Z')
            return -1;
        row = 26 + (second - u'A' + 1);
        letters = 2;
    }
    QStringView digits = text.mid(letters).trimmed();
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
    return wellAt(state, row, column);
}

} // namespace Tessar

#include "storedtext.h"

#include "cp1252.h"

namespace Tessar {

namespace {

bool plain(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != u'"';
}

} // namespace

StoredText storedText(QStringView text)
{
    StoredText result;
    qsizetype i = 0;
    while (i < text.size() && plain(text[i].unicode()))
        ++i;
    if (i == text.size()) {
        result.text = text.toString();
        return result;
    }

    result.text.reserve(text.size());
    result.text.append(text.first(i));
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'"') {
            result.text.append(u'\'');
            result.changes |= StoredText::Quote;
        } else if (c == u'\r' || c == u'\n') {
            result.text.append(u' ');
            result.changes |= StoredText::LineBreak;
        } else if (isCp1252(c)) {
            result.text.append(QChar(c));
        } else {
            result.text.append(u'?');
            result.changes |= StoredText::OutsideCodePage;
            // One question mark for a character outside the basic plane, as Save writes it.
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
        }
    }
    return result;
}

bool fitsCodePage(QStringView text)
{
    for (const QChar c : text) {
        if (!isCp1252(c.unicode()))
            return false;
    }
    return true;
}

} // namespace Tessar

#include "core/files/storedtext.h"

#include "core/files/cp1252.h"

namespace Tessar {

namespace {

bool plain(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != u'"';
}

qsizetype plainPrefix(QStringView text)
{
    const char16_t *p = text.utf16();
    qsizetype i = 0;
    while (i < text.size() && plain(p[i]))
        ++i;
    return i;
}

StoredText storedChange(QStringView text, qsizetype i)
{
    StoredText result;
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
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            result.text.append(u' ');
            result.changes |= StoredText::Control;
            ++result.controls;
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

} // namespace

StoredText storedText(QStringView text)
{
    const qsizetype plainChars = plainPrefix(text);
    if (plainChars == text.size())
        return {text.toString(), StoredText::Unchanged};
    return storedChange(text, plainChars);
}

StoredText storedText(const QString &text)
{
    const qsizetype plainChars = plainPrefix(text);
    if (plainChars == text.size())
        return {text, StoredText::Unchanged};
    StoredText result = storedChange(text, plainChars);
    if (result.changes == StoredText::Unchanged)
        result.text = text;
    return result;
}

} // namespace Tessar

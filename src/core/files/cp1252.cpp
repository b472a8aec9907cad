#include "core/files/cp1252.h"

namespace Tessar {

namespace {

// Characters of bytes 0x80 to 0x9F; the others equal their Latin-1 values.
constexpr char16_t high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (high[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

bool isCp1252(char16_t c)
{
    return encodeOne(c) >= 0;
}

QString decodeCp1252(QByteArrayView bytes)
{
    // Latin-1 agrees with the code page everywhere but 0x80 to 0x9F, and Qt
    // converts it in bulk; only those few bytes need the table.
    QString text = QString::fromLatin1(bytes);
    char16_t *out = nullptr;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || b >= 0xA0)
            continue;
        if (!out)
            out = reinterpret_cast<char16_t *>(text.data());
        out[i] = high[b - 0x80];
    }
    return text;
}

bool appendCp1252(QByteArray &out, QStringView text)
{
    bool exact = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int b = encodeOne(c);
        if (b >= 0) {
            out.append(char(b));
            continue;
        }
        exact = false;
        out.append('?');
        // One question mark for a character outside the basic plane.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return exact;
}

} // namespace Tessar

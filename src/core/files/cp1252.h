#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Tessar {

// Sample files hold their texts in the Windows-1252 code page. The five
// bytes that page leaves undefined map to the control characters of the
// same number, so every byte sequence decodes and encodes back unchanged.
QString decodeCp1252(QByteArrayView bytes);

// Appends the encoding of text to out. A character the code page cannot
// hold becomes a question mark; returns false when that happened.
bool appendCp1252(QByteArray &out, QStringView text);

// Whether the code page holds the character.
bool isCp1252(char16_t c);

} // namespace Tessar

#pragma once

#include <QImage>
#include <QImageReader>
#include <QString>

namespace Tessar {

// A PNG picture read as the PNG it is. A reader left to find the format
// itself first loads every image plugin there is, to ask each whether it
// reads the file: milliseconds, and libraries, a start need not wait for.
inline QImage readPng(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace Tessar

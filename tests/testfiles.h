#pragma once

// Files as the tests put them on disk and read them back: sample files,
// raw bytes, SVG drawings and PDF text. Needs QtCore only, so the
// command-line tool's tests share it with the window's.

#include "core/document/document.h"
#include "core/files/samplefile.h"
#include "core/document/settings.h"
#include "core/document/state.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// An empty document of `wells` wells on the first-run settings.
inline Tessar::State newPlate(int wells = 96)
{
    Tessar::State doc;
    Tessar::applyFirstRunDefaults(doc);
    doc.wellCount = wells;
    Tessar::newDocument(doc);
    return doc;
}

// `doc` saved to `path` as Save writes it; the path back.
inline QString writePlate(Tessar::State doc, const QString &path)
{
    doc.filePath = path;
    if (!Tessar::WriteSampleFile(doc).ok)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// What a plate drawing holds: its ellipses (rings and discs), title and texts.
struct SvgDrawing
{
    int ellipses = 0;
    QString width;      // as the svg element gives it, unit and all
    QString title;
    QStringList texts;
    QString error;
};

inline SvgDrawing readSvg(const QString &path)
{
    SvgDrawing svg;
    QXmlStreamReader xml(fileBytes(path));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"svg")
            svg.width = xml.attributes().value(QStringLiteral("width")).toString();
        else if (xml.name() == u"ellipse" || xml.name() == u"circle")
            ++svg.ellipses;
        else if (xml.name() == u"title")
            svg.title = xml.readElementText();
        else if (xml.name() == u"text")
            svg.texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    svg.error = xml.hasError() ? xml.errorString() : QString();
    return svg;
}

// The text pdftotext reads from a PDF; each page ends in a form feed.
inline QString pdfText(const QString &path, const QStringList &options = {})
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

#include "picturefile.h"

#include "core/plate/picturelayout.h"
#include "core/plate/pictureoptions.h"
#include "core/document/state.h"
#include "platepicture.h"
#include "platform/printingcalls.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace Tessar {

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

void paint(QPainter &painter, const State &state, const PictureLayout &layout, const PictureOptions &options,
           const PictureOverlay &overlay)
{
    paintPlatePicture(painter, state, layout, picturePixelsPerDip(options));
    if (overlay)
        overlay(painter, layout, picturePixelsPerDip(options));
}

bool pngBytes(const State &state, const PictureLayout &layout, const PictureOptions &options, QIODevice &out,
              QString *error, const PictureOverlay &overlay)
{
    QImage image(layout.size(), QImage::Format_RGB32);
    if (image.isNull())
        return fail(error, QStringLiteral("There is not enough memory for a picture of %1 \u00d7 %2 pixels.")
                               .arg(layout.size().width())
                               .arg(layout.size().height()));
    {
        QPainter painter(&image);
        paint(painter, state, layout, options, overlay);
    }
    const int dotsPerMetre = qRound(PictureDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QImageWriter writer(&out, "png");
    if (!writer.write(image))
        return fail(error, writer.errorString());
    return true;
}

bool svgBytes(const State &state, const PictureLayout &layout, const PictureOptions &options, QByteArray *bytes,
              QString *error, const PictureOverlay &overlay)
{
    const PrintingCalls *calls = printingCalls();
    if (!calls)
        return fail(error, printingMissing());
    const SvgRequest request{layout.size(), PictureDpi, layout.title().text, layout.description().text};
    *bytes = calls->svg(request, [&](QPainter &painter) { paint(painter, state, layout, options, overlay); });
    return true;
}

} // namespace

std::optional<PictureFormat> pictureFormatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"png")
        return PictureFormat::Png;
    if (suffix == u"svg")
        return PictureFormat::Svg;
    return std::nullopt;
}

bool writePlatePicture(const State &state, PictureFormat format, const PictureOptions &options, const QString &path,
                       QString *error, const PictureOverlay &overlay)
{
    const QString problem = pictureSizeProblem(state, options);
    if (!problem.isEmpty())
        return fail(error, problem);
    const PictureLayout layout(state, options);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    bool written = false;
    if (format == PictureFormat::Png) {
        written = pngBytes(state, layout, options, file, error, overlay);
    } else {
        QByteArray bytes;
        written = svgBytes(state, layout, options, &bytes, error, overlay);
        if (written && file.write(bytes) != bytes.size())
            written = fail(error, file.errorString());
    }
    if (!written) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}

} // namespace Tessar

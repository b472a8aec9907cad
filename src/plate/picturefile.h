#pragma once

#include "core/plate/pictureoptions.h"

#include <QString>

#include <functional>
#include <optional>

class QPainter;

namespace Tessar {

class PictureLayout;
struct State;

// Drawn over the plate once it is painted, in the picture's pixels.
using PictureOverlay = std::function<void(QPainter &, const PictureLayout &, double pixelsPerDip)>;

enum class PictureFormat { Png, Svg };

// The format a file's name asks for: ".png" or ".svg" in any case.
std::optional<PictureFormat> pictureFormatFor(const QString &path);

// Writes the plate picture of the document (paintPlatePicture) to `path`,
// as a PNG of the options' size or an SVG drawn on the same grid. The file
// is replaced in one step, so a failure leaves no
// half-written file and no changed one; `error` then says why. Needs a
// QGuiApplication (the offscreen platform will do) for the fonts.
bool writePlatePicture(const State &state, PictureFormat format, const PictureOptions &options, const QString &path,
                       QString *error, const PictureOverlay &overlay = {});

} // namespace Tessar

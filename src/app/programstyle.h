#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QProxyStyle>

#include <optional>

namespace Tessar {

// The application's style: the platform's own, with changes that keep its
// look and cost less.
//  - The arrow a menu bar shows when its titles do not fit is decoded when
//    it is first drawn rather than when the menu bar is made. A picture
//    read without its format named makes Qt load every image plugin it has
//    first, milliseconds the first window need not wait for.
//  - A group box's frame in the Fusion style is put together from small
//    pieces of that style's own frame, which is drawn once from Fusion's
//    picture read as a PNG. Fusion stretches that picture over the whole
//    frame, and Qt hands every stretch taller than about a hundred lines to
//    a pool of threads and waits for them: on two cores that hand-over took
//    half of each repaint of the main window, its frames being that tall.
//  - A scroll bar is drawn a band of lines at a time, for the same reason:
//    its groove is a gradient as tall as the bar, and it is drawn on every
//    repaint of the main window.
class ProgramStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;

    // The frame of a group box, as pieces of the style's own: corners,
    // the lines of each edge and the inside.
    struct FramePieces
    {
        int topMargin = 0;
        QImage topLeft, topRight, bottomLeft, bottomRight;
        QImage left, right, top, bottom, inside;   // tiles, repeated along the frame
    };

private:
    const FramePieces &framePieces(const QStyleOption *option, const QWidget *widget) const;

    mutable QHash<QString, FramePieces> mFrames;
    mutable std::optional<QPixmap> mFramePicture;   // Fusion's, once read
};

} // namespace Tessar

#include "app/programstyle.h"

#include "platform/pngread.h"

#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <qdrawutil.h>

#include <optional>

namespace Tessar {

namespace {

// Stands for a standard icon of a style and asks the style for it the
// first time anything wants to draw or measure it.
class DeferredIconEngine : public QIconEngine
{
public:
    DeferredIconEngine(const QProxyStyle *style, QStyle::StandardPixmap which)
        : mStyle(style), mWhich(which)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (!mIcon)
            mIcon = mStyle ? mStyle->baseStyle()->standardIcon(mWhich) : QIcon();
        return *mIcon;
    }

    QPointer<const QProxyStyle> mStyle;
    QStyle::StandardPixmap mWhich;
    std::optional<QIcon> mIcon;
};

// The corners and edges of the style's group-box frame are this wide, and
// the pieces are repeated in tiles this long, and a scroll bar is drawn in
// bands as tall: short enough that Qt blends each on the calling thread.
constexpr int Edge = 6;
constexpr int Tile = 64;

// Draws `tile` over `area`, one copy after another.
void drawTiled(QPainter &painter, const QRect &area, const QImage &tile)
{
    if (area.isEmpty() || tile.isNull())
        return;
    for (int y = area.top(); y <= area.bottom(); y += tile.height()) {
        for (int x = area.left(); x <= area.right(); x += tile.width()) {
            const int w = std::min(tile.width(), area.right() + 1 - x);
            const int h = std::min(tile.height(), area.bottom() + 1 - y);
            painter.drawImage(QPoint(x, y), tile, QRect(0, 0, w, h));
        }
    }
}

// Fusion draws a group box's frame from this picture of its own, as nine
// patches with corners this wide, below a margin for the caption.
const QString FusionFramePicture = QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
constexpr int FusionFrameCorner = 6;
constexpr int FusionTopMargin = 3;

QImage stretched(const QImage &piece, int width, int height)
{
    return piece.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

QIcon ProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                               const QWidget *widget) const
{
    if (standardIcon == SP_ToolBarHorizontalExtensionButton && !option)
        return QIcon(new DeferredIconEngine(this, standardIcon));
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                 const QWidget *widget) const
{
    // Anything but Fusion's frame on a plain painter is left to the style:
    // another style's frame need not be made of such pieces.
    if (element != PE_FrameGroupBox || !option || !painter || !painter->device()
        || baseStyle()->name().compare(u"fusion", Qt::CaseInsensitive) != 0
        || painter->device()->devicePixelRatio() != 1.0 || painter->transform().type() > QTransform::TxTranslate) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const FramePieces &pieces = framePieces(option, widget);
    const QRect frame = option->rect.adjusted(0, pieces.topMargin, 0, 0);
    if (pieces.inside.isNull() || frame.width() < 2 * Edge + 1 || frame.height() < 2 * Edge + 1) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const int l = frame.left(), t = frame.top(), r = frame.right() + 1 - Edge, b = frame.bottom() + 1 - Edge;
    painter->drawImage(QPoint(l, t), pieces.topLeft);
    painter->drawImage(QPoint(r, t), pieces.topRight);
    painter->drawImage(QPoint(l, b), pieces.bottomLeft);
    painter->drawImage(QPoint(r, b), pieces.bottomRight);
    drawTiled(*painter, QRect(QPoint(l + Edge, t), QPoint(r - 1, t + Edge - 1)), pieces.top);
    drawTiled(*painter, QRect(QPoint(l + Edge, b), QPoint(r - 1, b + Edge - 1)), pieces.bottom);
    drawTiled(*painter, QRect(QPoint(l, t + Edge), QPoint(l + Edge - 1, b - 1)), pieces.left);
    drawTiled(*painter, QRect(QPoint(r, t + Edge), QPoint(r + Edge - 1, b - 1)), pieces.right);
    drawTiled(*painter, QRect(QPoint(l + Edge, t + Edge), QPoint(r - 1, b - 1)), pieces.inside);
}

void ProgramStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                      const QWidget *widget) const
{
    if (control != CC_ScrollBar || !option || !painter || !painter->device() || option->rect.height() <= Tile
        || painter->device()->devicePixelRatio() != 1.0 || painter->transform().type() > QTransform::TxTranslate) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // Each band is the whole bar drawn on a picture of the band's size,
    // put where the band goes: the style clips its own drawing to the bar,
    // so a clip of ours would not hold.
    const QRect bar = option->rect;
    QImage band(bar.width(), Tile, QImage::Format_ARGB32_Premultiplied);
    for (int y = bar.top(); y <= bar.bottom(); y += Tile) {
        band.fill(Qt::transparent);
        {
            QPainter bandPainter(&band);
            bandPainter.translate(-bar.left(), -y);
            QProxyStyle::drawComplexControl(control, option, &bandPainter, widget);
        }
        painter->drawImage(QPoint(bar.left(), y), band, QRect(0, 0, bar.width(), std::min(Tile, bar.bottom() + 1 - y)));
    }
}

// The style's frame is drawn once, small, for every kind of caption; the
// pieces are cut from that. Its frame is the same all along each edge and
// all over its inside, so the pieces put together anew draw it as the style
// does, but for a step of rounding where Qt blends a piece differently.
const ProgramStyle::FramePieces &ProgramStyle::framePieces(const QStyleOption *option, const QWidget *widget) const
{
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    const bool captioned = !box || box->isCheckable() || !box->title().isEmpty();
    const QString key = QString::number(option->fontMetrics.height()) + (captioned ? u'c' : u'p');
    if (const auto found = mFrames.constFind(key); found != mFrames.cend())
        return *found;

    // Big enough for any caption's room above the frame, and for the edges
    // to be stretched rather than squeezed, as they are in a window.
    const QSize size(2 * Edge + Tile, option->fontMetrics.height() + Tile + 2 * Edge + Tile);
    QImage whole(size, QImage::Format_ARGB32_Premultiplied);
    whole.fill(Qt::transparent);
    {
        // Drawn here as Fusion draws it, from the picture read as a PNG:
        // Fusion's own reading would load every image plugin first.
        if (!mFramePicture)
            mFramePicture = QPixmap::fromImage(readPng(FusionFramePicture));
        const QPixmap &picture = *mFramePicture;
        QPainter painter(&whole);
        if (!picture.isNull()) {
            const int top = captioned ? std::max(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                                                 option->fontMetrics.height()) + FusionTopMargin
                                      : FusionTopMargin;
            qDrawBorderPixmap(&painter, QRect(0, top, size.width(), size.height() - top),
                              QMargins(FusionFrameCorner, FusionFrameCorner, FusionFrameCorner, FusionFrameCorner),
                              picture);
        } else {
            QStyleOption small(*option);
            small.rect = QRect(QPoint(0, 0), size);
            QProxyStyle::drawPrimitive(PE_FrameGroupBox, &small, &painter, widget);
        }
    }
    FramePieces pieces;
    while (pieces.topMargin < size.height() && whole.pixel(Edge, pieces.topMargin) == 0
           && whole.pixel(0, pieces.topMargin) == 0 && whole.pixel(1, pieces.topMargin) == 0)
        ++pieces.topMargin;
    const int t = pieces.topMargin, b = size.height() - Edge, r = size.width() - Edge;
    const int midX = size.width() / 2, midY = (t + size.height()) / 2;
    // A style whose frame is not of that shape keeps drawing its own.
    if (b - t < 2 * Edge + 1)
        return *mFrames.insert(key, pieces);
    pieces.topLeft = whole.copy(0, t, Edge, Edge);
    pieces.topRight = whole.copy(r, t, Edge, Edge);
    pieces.bottomLeft = whole.copy(0, b, Edge, Edge);
    pieces.bottomRight = whole.copy(r, b, Edge, Edge);
    pieces.top = stretched(whole.copy(midX, t, 1, Edge), Tile, Edge);
    pieces.bottom = stretched(whole.copy(midX, b, 1, Edge), Tile, Edge);
    pieces.left = stretched(whole.copy(0, midY, Edge, 1), Edge, Tile);
    pieces.right = stretched(whole.copy(r, midY, Edge, 1), Edge, Tile);
    pieces.inside = stretched(whole.copy(midX, midY, 1, 1), Tile, Tile);
    if (mFrames.size() > 16)
        mFrames.clear();
    return *mFrames.insert(key, pieces);
}

} // namespace Tessar

#include "picwell.h"

#include "core/plategeometry.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace Tessar {

namespace {

// Far beyond any screen; keeps a broken size from asking for a huge image.
constexpr double MaxRadius = 4096;

} // namespace

PicWell::Batch::Batch(PicWell &picture)
    : mPicture(picture)
{
    if (mPicture.mBatches++ == 0 && !mPicture.mImage.isNull())
        mPicture.mPainter = std::make_unique<QPainter>(&mPicture.mImage);
}

PicWell::Batch::~Batch()
{
    if (--mPicture.mBatches == 0)
        mPicture.mPainter.reset();
    mPicture.update();
}

PicWell::PicWell(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PicWell"));
    // Every pixel comes from the image; nothing behind needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The status line names the well under the pointer before any press.
    setMouseTracking(true);
    // Every button picks up and drops alike; none opens a menu here.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

PicWell::~PicWell() = default;

void PicWell::clear()
{
    // A painter may not outlive the image it paints on.
    mPainter.reset();
    mRatio = devicePixelRatioF();
    if (!std::isfinite(mRatio) || mRatio <= 0)
        mRatio = 1;
    // Nothing outside the window is ever seen, however large a stored
    // window size made the layout.
    const QSize shown = size().boundedTo(window()->size());
    const QSize pixels = (QSizeF(shown) * mRatio).toSize();
    mImage = QImage(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    mImage.fill(backColor());
    mSprites.clear();
    if (mBatches > 0)
        mPainter = std::make_unique<QPainter>(&mImage);
    update();
}

void PicWell::drawWell(float x, float y, float patch, float ringRadius, const QColor &ring,
                       float discRadius, const std::optional<QColor> &disc)
{
    if (mImage.isNull() || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(patch))
        return;
    // Each patch edge is rounded on its own, so neighbours meet without overlap.
    const QPointF topLeft = toPixel(x - patch, y + patch) * mRatio;
    const QPointF bottomRight = toPixel(x + patch, y - patch) * mRatio;
    const QRect area(QPoint(int(std::lround(topLeft.x())), int(std::lround(topLeft.y()))),
                     QPoint(int(std::lround(bottomRight.x())) - 1, int(std::lround(bottomRight.y())) - 1));

    const QImage look = sprite(toPixelRadius(ringRadius) * mRatio, ring, toPixelRadius(discRadius) * mRatio, disc);
    // The sprite's centre is the middle of its centre pixel; the well's
    // centre goes to the middle of the pixel it falls in.
    const QPointF centre = toPixel(x, y) * mRatio;
    const QPoint corner(int(std::floor(centre.x())) - look.width() / 2, int(std::floor(centre.y())) - look.height() / 2);

    // On a very small map a sprite's blank margin may reach past the patch.
    const bool clip = !area.contains(QRect(corner, look.size()));
    const auto draw = [&](QPainter &painter) {
        painter.fillRect(area, backColor());
        if (clip)
            painter.setClipRect(area);
        painter.drawImage(corner, look);
        if (clip)
            painter.setClipping(false);
    };
    if (mPainter) {
        draw(*mPainter);
        return;
    }
    QPainter painter(&mImage);
    draw(painter);
    update();
}

QImage PicWell::sprite(double ringRadius, const QColor &ring, double discRadius,
                              const std::optional<QColor> &disc)
{
    // A well never needs to be drawn larger than the whole image.
    const double largest = std::min<double>(MaxRadius, std::max(mImage.width(), mImage.height()));
    ringRadius = std::isfinite(ringRadius) ? std::clamp(ringRadius, 0.0, largest) : 0.0;
    discRadius = std::isfinite(discRadius) ? std::clamp(discRadius, 0.0, largest) : 0.0;
    // A plate shows a handful of looks; a plain search finds them fastest.
    const QRgb discRgb = disc ? disc->rgba() : 0u;
    for (const Sprite &known : mSprites) {
        if (known.ringRadius == ringRadius && known.ring == ring.rgba() && known.discRadius == discRadius
            && known.hasDisc == disc.has_value() && known.disc == discRgb)
            return known.image;
    }

    const int half = int(std::ceil(std::max(ringRadius, discRadius))) + 2;
    QImage image(2 * half + 1, 2 * half + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(half + 0.5, half + 0.5);
    painter.setPen(QPen(ring, mRatio));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, ringRadius, ringRadius);
    if (disc) {
        painter.setPen(QPen(Qt::black, mRatio));
        painter.setBrush(*disc);
        painter.drawEllipse(centre, discRadius, discRadius);
    }
    painter.end();
    mSprites.push_back({ringRadius, ring.rgba(), discRadius, disc.has_value(), discRgb, image});
    return mSprites.back().image;
}

QColor PicWell::backColor() const
{
    // White like a plate, whatever the style: the rings are black whatever
    // the style too, and none of the default key colours is white.
    return QColor(Qt::white);
}

QPointF PicWell::toPixel(float x, float y) const
{
    return {double(x) / PlateWidth * width(), (PlateHeight - double(y)) / PlateHeight * height()};
}

double PicWell::toPixelRadius(float radius) const
{
    return double(radius) / PlateWidth * width();
}

QPointF PicWell::toPlate(QPointF position) const
{
    if (width() <= 0 || height() <= 0)
        return {-1, -1};
    const QPointF device = position * mRatio;
    const QPointF middle(std::floor(device.x()) + 0.5, std::floor(device.y()) + 0.5);
    const QPointF pixel = middle / mRatio;
    return {pixel.x() / width() * PlateWidth, PlateHeight - pixel.y() / height() * PlateHeight};
}

QColor PicWell::pixelAt(QPoint pixel) const
{
    const QPoint device = (QPointF(pixel) * mRatio).toPoint();
    if (!mImage.valid(device))
        return {};
    return mImage.pixelColor(device);
}

QColor PicWell::colourAt(float x, float y) const
{
    const QPointF device = toPixel(x, y) * mRatio;
    const QPoint pixel(int(std::floor(device.x())), int(std::floor(device.y())));
    return mImage.valid(pixel) ? mImage.pixelColor(pixel) : QColor();
}

void PicWell::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (mImage.isNull()) {
        painter.fillRect(event->rect(), backColor());
        return;
    }
    const QRectF covered(QPointF(0, 0), QSizeF(mImage.size()) / mRatio);
    painter.drawImage(covered, mImage);
    // Between a resize and the redraw that follows it the image may be smaller.
    const QRegion rest = QRegion(rect()).subtracted(QRegion(covered.toAlignedRect()));
    for (const QRect &part : rest)
        painter.fillRect(part, backColor());
}

void PicWell::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF plate = toPlate(event->position());
    emit mouseMoved(float(plate.x()), float(plate.y()));
}

void PicWell::mousePressEvent(QMouseEvent *event)
{
    const QPointF plate = toPlate(event->position());
    emit mousePressed(float(plate.x()), float(plate.y()));
}

void PicWell::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF plate = toPlate(event->position());
    emit mouseReleased(float(plate.x()), float(plate.y()));
}

} // namespace Tessar

#include "picwell.h"


#include <QFocusFrame>
#include <QFontInfo>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace Tessar {

namespace {

// Far beyond any screen; keeps a broken size from asking for a huge image.
constexpr double MaxRadius = 4096;
constexpr std::size_t MaxSprites = 64;

double clampedRadius(double radius)
{
    return std::isfinite(radius) ? std::clamp(radius, 0.0, MaxRadius) : 0.0;
}

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
    // A click gives the map the keyboard, whose arrows then move the selection.
    setFocusPolicy(Qt::ClickFocus);
}

PicWell::~PicWell() = default;

void PicWell::clear()
{
    // A painter may not outlive the image it paints on.
    mPainter.reset();
    const qreal oldRatio = mRatio;
    mRatio = devicePixelRatioF();
    if (!std::isfinite(mRatio) || mRatio <= 0)
        mRatio = 1;
    // Nothing outside the window is ever seen, however large a stored
    // window size made the layout.
    const QSize shown = size().boundedTo(window()->size());
    const QSize pixels = (QSizeF(shown) * mRatio).toSize().expandedTo(QSize(1, 1));
    // The same size again keeps its memory: a fresh image of a whole map
    // costs more in first touches of its pages than in drawing.
    const bool sameSize = mImage.size() == pixels && mRatio == oldRatio;
    if (!sameSize)
        mImage = QImage(pixels, QImage::Format_RGB32);
    mImage.fill(backColor());
    if (!sameSize)
        mSprites.clear();
    if (mBatches > 0)
        mPainter = std::make_unique<QPainter>(&mImage);
    update();
}

void PicWell::drawWell(float x, float y, float patch, float ringRadius, float discRadius, const WellLook &look,
                       bool onBlank)
{
    if (mImage.isNull() || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(patch))
        return;
    // Each patch edge is rounded on its own, so neighbours meet without overlap.
    const QPointF topLeft = toPixel(x - patch, y + patch) * mRatio;
    const QPointF bottomRight = toPixel(x + patch, y - patch) * mRatio;
    const QRect area(QPoint(int(std::lround(topLeft.x())), int(std::lround(topLeft.y()))),
                     QPoint(int(std::lround(bottomRight.x())) - 1, int(std::lround(bottomRight.y())) - 1));

    const double ring = clampedRadius(toPixelRadius(ringRadius) * mRatio);
    const double disc = clampedRadius(toPixelRadius(discRadius) * mRatio);
    // A well's centre goes to the middle of the pixel it falls in, alike
    // for the sprites and for the framed wells drawn in place.
    const QPointF exact = toPixel(x, y) * mRatio;
    const QPoint centrePixel(int(std::floor(exact.x())), int(std::floor(exact.y())));

    const auto draw = [&](QPainter &painter) {
        // A picked well's mark fills its patch, and its sprite is made on
        // that mark; the frame mark has the patch's shape, which no sprite has.
        if (look.picked)
            painter.fillRect(area, PickedFill);
        else if (!onBlank)
            painter.fillRect(area, backColor());
        if (look.framed && !look.picked) {
            painter.setClipRect(area);
            const QPointF centre = QPointF(centrePixel) + QPointF(0.5, 0.5);
            paintWell(painter, {centre, ring, disc, QRectF(area), mRatio}, look);
            painter.setClipping(false);
            return;
        }
        const QImage image = sprite(ring, disc, look);
        const QPoint corner = centrePixel - QPoint(image.width() / 2, image.height() / 2);
        // On a small map a sprite's blank margin reaches past the patch;
        // within the patch it lies on background as it was made to. Only
        // that part is copied, which costs less than a clip.
        const QRect target = QRect(corner, image.size()) & area;
        if (!target.isEmpty())
            painter.drawImage(target.topLeft(), image, target.translated(-corner));
    };
    if (mPainter) {
        draw(*mPainter);
        return;
    }
    QPainter painter(&mImage);
    draw(painter);
    update();
}

QImage PicWell::sprite(double ringRadius, double discRadius, const WellLook &look)
{
    // A well never needs to be drawn larger than the whole image.
    const double largest = std::min<double>(MaxRadius, std::max(mImage.width(), mImage.height()));
    ringRadius = std::isfinite(ringRadius) ? std::clamp(ringRadius, 0.0, largest) : 0.0;
    discRadius = std::isfinite(discRadius) ? std::clamp(discRadius, 0.0, largest) : 0.0;
    // A plate shows a handful of looks; a plain search finds them fastest.
    for (const Sprite &known : mSprites) {
        if (known.ringRadius == ringRadius && known.discRadius == discRadius && known.look == look)
            return known.image;
    }

    // Colours changed often in one session would otherwise pile up looks.
    if (mSprites.size() >= MaxSprites)
        mSprites.clear();
    WellPlace place{QPointF(), ringRadius, discRadius, QRectF(), mRatio};
    // A pixel more all round for the smoothing.
    const int half = int(std::ceil(std::min(wellReach(place, look), MaxRadius))) + 2;
    place.centre = QPointF(half + 0.5, half + 0.5);
    QImage well(2 * half + 1, 2 * half + 1, QImage::Format_ARGB32_Premultiplied);
    well.fill(Qt::transparent);
    QPainter painter(&well);
    paintWell(painter, place, look);
    painter.end();
    // A sprite always lands on bare background or a picked well's mark, so
    // it is blended onto that here once, in the picture's own format:
    // drawing it is then a copy.
    QImage image(well.size(), mImage.format());
    image.fill(look.picked ? PickedFill : backColor());
    painter.begin(&image);
    painter.drawImage(0, 0, well);
    painter.end();
    mSprites.push_back({ringRadius, discRadius, look, image});
    return mSprites.back().image;
}

void PicWell::drawLabel(float x, float y, float height, const QString &text)
{
    if (mImage.isNull() || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(height))
        return;
    const double pixels = toPixelRadius(height) * mRatio;
    if (!(pixels >= 4))
        return;
    const auto draw = [&](QPainter &painter) {
        const double fontPixels = QFontInfo(painter.font()).pixelSize();
        if (!(fontPixels > 0))
            return;
        const double scale = std::max(4.0, std::round(std::min(pixels, 4096.0) * 0.75)) / fontPixels;
        painter.save();
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.translate(toPixel(x, y) * mRatio);
        painter.scale(scale, scale);
        // Letters and digits need no shaping: their glyphs, set side by
        // side and centred as a line of text would be, draw the same as
        // laid-out text for a small part of its cost.
        if (!mLabelGlyphs.isValid() || mLabelFont != painter.font()) {
            mLabelFont = painter.font();
            mLabelGlyphs = QRawFont::fromFont(mLabelFont);
        }
        const QRawFont &raw = mLabelGlyphs;
        QGlyphRun run;
        run.setRawFont(raw);
        const QList<quint32> glyphs = raw.glyphIndexesForString(text);
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
        QList<QPointF> positions;
        positions.reserve(advances.size());
        qreal width = 0;
        for (const QPointF &advance : advances) {
            positions.append(QPointF(width, 0));
            width += advance.x();
        }
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(-width / 2, (raw.ascent() - raw.descent()) / 2), run);
        painter.restore();
    };
    if (mPainter) {
        draw(*mPainter);
        return;
    }
    QPainter painter(&mImage);
    draw(painter);
    update();
}

QColor PicWell::backColor() const
{
    // White like a plate, whatever the style: the rings are black whatever
    // the style too, and none of the default key colours is white.
    return QColor(Qt::white);
}

PlateProjection PicWell::projection() const
{
    return PlateProjection(QRectF(0, 0, width(), height()));
}

QPointF PicWell::toPixel(float x, float y) const
{
    return projection().toPixel(x, y);
}

double PicWell::toPixelRadius(float radius) const
{
    return projection().toPixelRadius(radius);
}

QPointF PicWell::toPlate(QPointF position) const
{
    if (width() <= 0 || height() <= 0)
        return {-1, -1};
    const QPointF device = position * mRatio;
    const QPointF middle(std::floor(device.x()) + 0.5, std::floor(device.y()) + 0.5);
    return projection().toPlate(middle / mRatio);
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
    emit mousePressed(float(plate.x()), float(plate.y()), event->modifiers());
}

void PicWell::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF plate = toPlate(event->position());
    emit mouseReleased(float(plate.x()), float(plate.y()));
}

void PicWell::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        emit keyPressed(event->key());
        event->accept();
        break;
    default:
        // Picking every well is the map's own key too, where no shortcut took it first.
        if (event->key() == Qt::Key_A && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
            emit keyPressed(int(event->keyCombination().toCombined()));
            event->accept();
            break;
        }
        QWidget::keyPressEvent(event);
        break;
    }
}

// The frame goes around the map, outside the picture, so the picture
// stays the plate alone.
void PicWell::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (!mFocusFrame && parentWidget()) {
        mFocusFrame = new QFocusFrame(parentWidget());
        QPalette palette = mFocusFrame->palette();
        palette.setBrush(QPalette::WindowText, palette.highlight());
        mFocusFrame->setPalette(palette);
    }
    if (mFocusFrame)
        mFocusFrame->setWidget(this);
}

void PicWell::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (mFocusFrame)
        mFocusFrame->setWidget(nullptr);
}

} // namespace Tessar

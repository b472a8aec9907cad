#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

namespace Tessar {

// The plate map's canvas. Drawing goes into a retained image in plate
// units (x 0 to 81 left to right, y 0 to 123 bottom to top), so what was
// drawn stays until the next clear, and a repaint only copies the image.
// Circles are round on screen: their radius is measured along x.
class PicWell : public QWidget
{
    Q_OBJECT

public:
    explicit PicWell(QWidget *parent = nullptr);

    // Starts a blank image of the widget's current size.
    void clear();

    // A circle round (x, y); filled when `fill` is given.
    void circle(float x, float y, float radius, const QColor &outline,
                const std::optional<QColor> &fill = std::nullopt);

    QColor backColor() const;

    // Where a plate point lands, in widget pixels.
    QPointF toPixel(float x, float y) const;
    double toPixelRadius(float radius) const;

    const QImage &image() const { return mImage; }
    // The image's colour under a widget pixel; invalid outside the image.
    QColor pixelAt(QPoint pixel) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage mImage;
};

} // namespace Tessar

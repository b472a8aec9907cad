#pragma once

#include "core/plate/plateprojection.h"
#include "welldrawing.h"

#include <QFont>
#include <QImage>
#include <QRawFont>
#include <QWidget>

#include <memory>
#include <vector>

class QFocusFrame;
class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace Tessar {

// The plate map's canvas. Drawing goes into a retained image in plate
// units (x 0 to 81 left to right, y 0 to 123 bottom to top), so what was
// drawn stays until the next clear, and a repaint only copies the image.
class PicWell : public QWidget
{
    Q_OBJECT

public:
    // Keeps one painter open for the drawing calls made while it lives,
    // which redrawing a whole plate needs to be quick.
    class Batch
    {
    public:
        explicit Batch(PicWell &picture);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        PicWell &mPicture;
    };

    explicit PicWell(QWidget *parent = nullptr);
    ~PicWell() override;

    // Starts a blank image of the widget's current size.
    void clear();

    // Draws one well afresh on its own square patch of background, `patch`
    // plate units each way from its centre, as `look` says (paintWell).
    // Circles are round on screen, their radius measured along x. The edges
    // are smoothed, which is why a well is never drawn over its old self: a
    // ring turned black keeps no red fringe, an emptied well no trace of its disc.
    // `onBlank` says the patch is known to be bare background since the
    // last clear, which spares painting it again.
    void drawWell(float x, float y, float patch, float ringRadius, float discRadius, const WellLook &look,
                  bool onBlank = false);

    QColor backColor() const;

    // A row letter or column number beside the wells, centred on (x, y),
    // `height` plate units tall.
    void drawLabel(float x, float y, float height, const QString &text);

    // The plate over the whole widget, in widget pixels.
    PlateProjection projection() const;
    // Where a plate point lands, in widget pixels.
    QPointF toPixel(float x, float y) const;
    double toPixelRadius(float radius) const;
    // The plate point under a widget position: the middle of the image
    // pixel there, which is where a well centre falling in that pixel is drawn.
    QPointF toPlate(QPointF position) const;

    // In device pixels.
    const QImage &image() const { return mImage; }
    // The image's colour under a widget pixel; invalid outside the image.
    QColor pixelAt(QPoint pixel) const;
    // The image's colour in the pixel a plate point falls in.
    QColor colourAt(float x, float y) const;

signals:
    // The pointer, in plate units. Moves arrive with or without a button
    // held; any button presses and releases alike. Shift and Ctrl make a
    // press pick wells instead of a sample.
    void mouseMoved(float x, float y);
    void mousePressed(float x, float y, Qt::KeyboardModifiers modifiers);
    void mouseReleased(float x, float y);
    // A key pressed while the map has the focus.
    void keyPressed(int key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QImage sprite(double ringRadius, double discRadius, const WellLook &look);

    struct Sprite
    {
        double ringRadius;
        double discRadius;
        WellLook look;
        QImage image;
    };

    qreal mRatio = 1;
    QImage mImage;
    std::vector<Sprite> mSprites;         // one per look, for the current size; the
                                          // few framed wells are drawn each time
    std::unique_ptr<QPainter> mPainter;   // open while a batch lives
    int mBatches = 0;
    QFocusFrame *mFocusFrame = nullptr;   // around the map while it has the keyboard
    QFont mLabelFont;                     // the painter's font the labels were last set in
    QRawFont mLabelGlyphs;                // and its glyphs
};

} // namespace Tessar

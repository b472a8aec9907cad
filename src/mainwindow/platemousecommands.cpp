#include "mainwindow.h"

#include "core/plate/plategeometry.h"
#include "core/plate/wellsummary.h"
#include "plate/picwell.h"
#include "platform/tiptext.h"

#include <QHelpEvent>
#include <QLabel>
#include <QRubberBand>
#include <QToolTip>

#include <algorithm>
#include <optional>

namespace Tessar {

void MainWindow::PicWell_MouseMove(float x, float y)
{
    const QString text = mPlateMouse->move(x, y);
    if (mGesture == MapGesture::Band) {
        const QRectF band(mPicWell->toPixel(mBandFrom.x(), mBandFrom.y()), mPicWell->toPixel(x, y));
        mBand->setGeometry(band.normalized().toAlignedRect());
        mBand->show();
        return;
    }
    if (mGesture == MapGesture::None)
        StatusBar->setText(text);
}

void MainWindow::PicWell_MouseDown(float x, float y, Qt::KeyboardModifiers modifiers)
{
    if (pickOnMap(x, y, modifiers))
        return;
    // A plain press goes back to one sample at a time.
    clearSelection();
    mPlateMouse->press();
}

void MainWindow::PicWell_MouseUp(float x, float y)
{
    if (mGesture != MapGesture::None) {
        endBand(x, y);
        return;
    }
    const int source = mPlateMouse->hitSample();
    const int drop = mPlateMouse->dropTarget();
    int target = 0;
    const auto release = [&] { target = mPlateMouse->release(); };
    if (mPlateMouse->dragging() && source > 0 && drop > 0 && drop != source)
        change(QStringLiteral("Move Sample %1 to %2").arg(spotname(mState, source).toString(), spotname(mState, drop).toString()),
               EditRecorder::Scope::Samples, {source, drop}, release);
    else
        release();
    StatusBar->setText(mPlateMouse->statusText());
    if (target == 0)
        return;
    mState.topSample = target;
    fillsample(mState.topSample);
}

// The keyboard's way to do what the mouse does on the map: the arrow keys
// move the red ring the way they point, Enter brings its well into the
// first frame as a click does.
void MainWindow::PicWell_KeyDown(int key)
{
    if (mPlateMouse->dragging() || mState.wellCount < 1)
        return;
    std::optional<ScreenDirection> direction;
    switch (key) {
    case Qt::Key_Left:  direction = ScreenDirection::Left; break;
    case Qt::Key_Right: direction = ScreenDirection::Right; break;
    case Qt::Key_Up:    direction = ScreenDirection::Up; break;
    case Qt::Key_Down:  direction = ScreenDirection::Down; break;
    default: break;
    }
    const int lit = mPlateMap->litSample();
    const bool onPlate = lit >= 1 && lit <= mState.wellCount;
    if (direction) {
        // Before any well is selected the first key picks the one in frame 0.
        const int next = onPlate ? neighbourWell(mState, lit, *direction) : std::clamp(mState.topSample, 1, mState.wellCount);
        if (next < 1 || next > mState.wellCount)
            return;
        hilite(next);
        StatusBar->setText(PlateMouse::selectedText(mState, next));
    } else if (key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_A).toCombined()) {
        selectAllWells();
    } else if (key == Qt::Key_Escape) {
        clearSelection();
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && onPlate) {
        mState.topSample = lit;
        fillsample(mState.topSample);
    }
}

void MainWindow::PicWell_ToolTip(QHelpEvent *event)
{
    const QPointF plate = mPicWell->toPlate(event->pos());
    const int s = spotat(mState, float(plate.x()), float(plate.y()));
    if (s < 1 || s > mState.wellCount || std::size_t(s) >= mState.spotX.size()) {
        QToolTip::hideText();
        return;
    }
    const WellTip tip = wellTip(mState, s);
    // The tip stays up while the pointer stays on this well.
    const QPointF centre = mPicWell->toPixel(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)]);
    const double r = mPicWell->toPixelRadius(mState.spotRad);
    const QRect ring = QRectF(centre - QPointF(r, r), QSizeF(2 * r, 2 * r)).toAlignedRect();
    QToolTip::showText(event->globalPos(), plainTip(tip.title, tip.lines), mPicWell, ring);
}

} // namespace Tessar

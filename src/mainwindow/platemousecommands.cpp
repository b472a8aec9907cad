#include "mainwindow.h"

#include "core/plategeometry.h"
#include "core/wellsummary.h"
#include "plate/picwell.h"
#include "platform/tiptext.h"

#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace Tessar {

void MainWindow::PicWell_MouseMove(float x, float y)
{
    StatusBar->setText(mPlateMouse->move(x, y));
}

void MainWindow::PicWell_MouseDown()
{
    mPlateMouse->press();
}

void MainWindow::PicWell_MouseUp()
{
    const int target = mPlateMouse->release();
    StatusBar->setText(mPlateMouse->statusText());
    if (target == 0)
        return;
    mState.topSample = target;
    fillsample(mState.topSample);
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

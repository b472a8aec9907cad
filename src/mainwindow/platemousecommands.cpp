#include "mainwindow.h"

#include "core/plategeometry.h"

#include <QLabel>

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

} // namespace Tessar

#include "mainwindow.h"

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
    const int target = mPlateMouse->release();
    StatusBar->setText(mPlateMouse->statusText());
    if (target == 0)
        return;
    mState.topSample = target;
    fillsample(mState.topSample);
}

} // namespace Tessar

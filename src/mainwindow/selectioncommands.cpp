#include "mainwindow.h"

#include "core/editing/selectionfill.h"
#include "core/plate/plategeometry.h"
#include "dialogs/fillselection.h"
#include "plate/picwell.h"

#include <QLabel>
#include <QRubberBand>


#include <utility>

// Picking wells on the map. The pick is the view's alone: the document
// never hears of it until a command acts on the picked wells.

namespace Tessar {

bool MainWindow::pickOnMap(float x, float y, Qt::KeyboardModifiers modifiers)
{
    const bool adds = modifiers.testFlag(Qt::ControlModifier);
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        mGesture = MapGesture::Band;
        mBandFrom = QPointF(x, y);
        mBandAdds = adds;
        if (!mBand)
            mBand = new QRubberBand(QRubberBand::Rectangle, mPicWell);
        mBand->setGeometry(QRect(mPicWell->toPixel(x, y).toPoint(), QSize(1, 1)));
        mBand->show();
        return true;
    }
    const PlateHeader header = headerAt(mState, x, y);
    if (header.row > 0 || header.column > 0) {
        const WellSet line = header.row > 0 ? wellsOfRow(mState, header.row) : wellsOfColumn(mState, header.column);
        mGesture = MapGesture::Picked;
        setSelection(adds ? joined(mSelection, line) : line);
        return true;
    }
    if (!adds)
        return false;
    mGesture = MapGesture::Picked;
    const int s = spotat(mState, x, y);
    if (s >= 1 && s <= mState.wellCount)
        setSelection(toggled(mSelection, s));
    return true;
}

void MainWindow::endBand(float x, float y)
{
    if (std::exchange(mGesture, MapGesture::None) != MapGesture::Band)
        return;
    if (mBand)
        mBand->hide();
    const WellSet inside = wellsInBand(mState, float(mBandFrom.x()), float(mBandFrom.y()), x, y);
    setSelection(mBandAdds ? joined(mSelection, inside) : inside);
    if (mSelection.empty())
        StatusBar->setText(selectionStatus(0));
}

void MainWindow::selectAllWells()
{
    setSelection(allWells(mState));
}

void MainWindow::setSelection(WellSet wells)
{
    std::erase_if(wells, [this](int s) { return s < 1 || s > mState.wellCount; });
    {
        const PicWell::Batch batch(*mPicWell);
        for (const int s : mSelection) {
            if (!contains(wells, s))
                mPlateMap->setPicked(s, false);
        }
        for (const int s : wells)
            mPlateMap->setPicked(s, true);
    }
    const bool had = !mSelection.empty();
    mSelection = std::move(wells);
    mSelectionPlate = mState.wellCount;
    if (!mSelection.empty())
        StatusBar->setText(selectionStatus(int(mSelection.size())));
    else if (had)
        StatusBar->clear();
}

void MainWindow::remarkSelection()
{
    if (mSelectionPlate != mState.wellCount) {
        mSelection.clear();
        return;
    }
    const PicWell::Batch batch(*mPicWell);
    for (const int s : mSelection)
        mPlateMap->setPicked(s, true);
}

void MainWindow::mnuEditFillSelection_Click()
{
    if (mSelection.empty()) {
        StatusBar->setText(QStringLiteral("Select wells on the map first: Shift+drag, Ctrl+click or a row letter."));
        return;
    }
    const std::optional<FillRequest> request = FillSelectionDialog::run(this, mState, mSelection);
    if (!request)
        return;
    const WellSet ordered = fillOrder(mState, mSelection, request->order);
    const FillValues values = fillValues(request->rule, int(ordered.size()));
    if (!values.problem.isEmpty() || !checkFill(mState, request->row, values.values).isEmpty())
        return;
    change(QStringLiteral("Fill Selection"), EditRecorder::Scope::Samples, mSelection, [&] {
        applyFill(mState, request->row, ordered, values.values);
        fillsample(mState.topSample);
    });
}

} // namespace Tessar

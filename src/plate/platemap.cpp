#include "platemap.h"

#include "disclook.h"
#include "picwell.h"
#include "core/plate/plategeometry.h"
#include "core/plate/welldisc.h"
#include "core/plate/wellname.h"
#include "core/plate/wellsummary.h"

#include <algorithm>

namespace Tessar {

PlateMap::Batch::Batch(PlateMap &map)
    : mMap(map)
{
    ++mMap.mBatches;
}

PlateMap::Batch::~Batch()
{
    if (--mMap.mBatches == 0)
        mMap.drawHeldWells();
}

PlateMap::PlateMap(State &state, PicWell &picture)
    : mState(state)
    , mPicture(picture)
{
}

void PlateMap::showprofile()
{
    mPicture.clear();
    if (mBatches > 0)
        mClearedInBatch = true;
    mLooks.assign(std::size_t(std::max(mState.wellCount, 0)) + 1, WellLook());
    mFramedFirst = 0;
    mFramedLast = -1;
    const PicWell::Batch batch(mPicture);
    drawHeaders();
    for (int k = 1; k <= mState.wellCount; ++k)
        redraw(k);
}

// The letters and numbers a click picks a whole row or column by, in the
// margins beside the outermost wells.
void PlateMap::drawHeaders()
{
    const PlateFormat *format = plateFormat(mState.wellCount);
    if (!format)
        return;
    const float half = format->pitch / 2;
    const float top = format->y0 - half + float(format->cols) * format->pitch;
    const float left = format->x0 - half;
    const float rowBand = std::min(format->pitch, PlateHeight - top);
    const float columnBand = std::min(format->pitch, left);
    // Rows past Z carry the names printed on the plate, not the characters
    // after Z the sample file uses.
    for (int r = 1; r <= format->rows; ++r)
        mPicture.drawLabel(format->x0 + float(r - 1) * format->pitch, top + rowBand / 2, rowBand * 0.8f,
                           standardRowName(r));
    for (int c = 1; c <= format->cols; ++c)
        mPicture.drawLabel(left - columnBand / 2, format->y0 + float(c - 1) * format->pitch,
                           std::min(columnBand, format->pitch) * 0.8f, QString::number(c));
}

void PlateMap::setPicked(int s, bool picked)
{
    if (!isWell(s))
        return;
    WellLook &well = look(s);
    if (well.picked == picked)
        return;
    well.picked = picked;
    redraw(s);
}

void PlateMap::fillallpic()
{
    const PicWell::Batch batch(mPicture);
    for (int s = 1; s <= mState.wellCount; ++s)
        fillcell(s, SampleHasData(mState, s) ? 1 : 0);
}

void PlateMap::fillcell(int s, int hasData)
{
    if (!isWell(s))
        return;
    showDisc(s, hasData == 0 ? WellDisc() : keyedDisc(mState, discKey(mState, s)));
}

void PlateMap::hilite(int s)
{
    if (!isWell(s))
        return;
    if (isWell(mLitSample))
        setLit(mLitSample, false);
    setLit(s, true);
    mLitSample = s;
}

void PlateMap::fillpos(int target)
{
    const int source = mState.moveSample;
    if (!isWell(target) || !isWell(source) || SampleHasData(mState, target))
        return;
    setDisc(source, std::nullopt);
    showDisc(target, keyedDisc(mState, discKey(mState, source)));
}

void PlateMap::markFrames(int first, int count)
{
    first = std::clamp(first, 0, std::max(mState.wellCount, 0) + 1);
    const int last = first + std::clamp(count, 0, MaxFrames) - 1;
    const PicWell::Batch batch(mPicture);
    for (int s = mFramedFirst; s <= mFramedLast; ++s) {
        if (isWell(s) && (s < first || s > last))
            setFramed(s, false);
    }
    for (int s = std::max(first, 1); s <= std::min(last, mState.wellCount); ++s) {
        if (isWell(s))
            setFramed(s, true);
    }
    mFramedFirst = first;
    mFramedLast = last;
}

QColor PlateMap::pixelOf(int s) const
{
    if (!isWell(s))
        return {};
    float y = mState.spotY[std::size_t(s)];
    const WellPlace place = placeOf(s);
    if (carriesNumber(place, lookOf(s)))
        y -= float(mState.spotRad * DiscScale * DiscFillProbe);
    return mPicture.colourAt(mState.spotX[std::size_t(s)], y);
}

WellLook PlateMap::lookOf(int s) const
{
    return std::size_t(s) < mLooks.size() && s >= 0 ? mLooks[std::size_t(s)] : WellLook();
}

bool PlateMap::isWell(int s) const
{
    return s >= 1 && s <= mState.wellCount && std::size_t(s) < mState.spotX.size()
        && std::size_t(s) < mState.spotY.size();
}

WellLook &PlateMap::look(int s)
{
    if (mLooks.size() <= std::size_t(s))
        mLooks.resize(std::size_t(s) + 1);
    return mLooks[std::size_t(s)];
}

void PlateMap::setLit(int s, bool lit)
{
    WellLook &well = look(s);
    well.ring = lit ? QColor(Qt::red) : QColor(Qt::black);
    well.selected = lit;
    redraw(s);
}

void PlateMap::setDisc(int s, const std::optional<QColor> &fill, int key)
{
    WellLook &well = look(s);
    if (!fill)
        key = 0;
    // The image keeps what was drawn: a well that looks right already is
    // left alone, which spares a full redraw most of its work.
    if (well.disc == fill && well.key == key)
        return;
    well.disc = fill;
    well.key = key;
    redraw(s);
}

void PlateMap::showDisc(int s, const WellDisc &disc)
{
    const WellLook shown = discLook(disc, mPicture.palette());
    setDisc(s, shown.disc, shown.key);
}

void PlateMap::setFramed(int s, bool framed)
{
    WellLook &well = look(s);
    if (well.framed == framed)
        return;
    well.framed = framed;
    redraw(s);
}

void PlateMap::redraw(int s)
{
    if (mBatches == 0) {
        draw(s, false);
        return;
    }
    if (mIsHeld.size() <= std::size_t(s))
        mIsHeld.resize(std::size_t(s) + 1, false);
    if (!mIsHeld[std::size_t(s)]) {
        mIsHeld[std::size_t(s)] = true;
        mHeld.push_back(s);
    }
}

void PlateMap::drawHeldWells()
{
    {
        const PicWell::Batch batch(mPicture);
        for (const int s : mHeld) {
            mIsHeld[std::size_t(s)] = false;
            // The plate may have changed format since the well was held.
            if (isWell(s))
                draw(s, mClearedInBatch);
        }
    }
    mHeld.clear();
    mClearedInBatch = false;
}

// A well's patch is its share of the plate, half a pitch each way, which
// no other well's patch overlaps.
void PlateMap::draw(int s, bool onBlank)
{
    const PlateFormat *format = plateFormat(mState.wellCount);
    if (!format)
        return;
    mPicture.drawWell(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)], format->pitch / 2,
                      mState.spotRad, mState.spotRad * DiscScale, look(s), onBlank);
}

// Only as far as the picture needs it to decide whether a number shows:
// in its widget's pixels, which are device-independent ones.
WellPlace PlateMap::placeOf(int s) const
{
    WellPlace place;
    place.centre = mPicture.toPixel(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)]);
    place.ringRadius = mPicture.toPixelRadius(mState.spotRad);
    place.discRadius = mPicture.toPixelRadius(mState.spotRad * DiscScale);
    return place;
}

} // namespace Tessar

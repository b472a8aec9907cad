#include "platemap.h"

#include "picwell.h"
#include "core/plategeometry.h"
#include "platform/colour.h"

#include <algorithm>

namespace Tessar {

namespace {
constexpr float DiscScale = 0.666f;   // the disc leaves a gap inside the ring
}

PlateMap::PlateMap(State &state, PicWell &picture)
    : mState(state)
    , mPicture(picture)
{
}

void PlateMap::showprofile()
{
    mPicture.clear();
    mLooks.assign(std::size_t(std::max(mState.wellCount, 0)) + 1, WellLook());
    const PicWell::Batch batch(mPicture);
    for (int k = 1; k <= mState.wellCount; ++k)
        redraw(k);
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
    if (hasData == 0)
        setDisc(s, false);
    else
        setDisc(s, true, toQColor(discColour(s), mPicture.palette()));
}

void PlateMap::hilite(int s)
{
    if (!isWell(s))
        return;
    if (isWell(mLitSample))
        setRing(mLitSample, Qt::black);
    setRing(s, Qt::red);
    mLitSample = s;
}

void PlateMap::fillpos(int target)
{
    const int source = mState.moveSample;
    if (!isWell(target) || !isWell(source) || SampleHasData(mState, target))
        return;
    setDisc(source, false);
    setDisc(target, true, toQColor(discColour(source), mPicture.palette()));
}

Colour PlateMap::discColour(int s) const
{
    Colour colour = ButtonShadowColour;
    const int last = mState.fieldCount();
    for (int f = 0; f <= last; ++f) {
        if (!mState.sampleTable.contains(s, f))
            break;
        const int k = keyNamed(mState, mState.sampleTable(s, f));
        if (k > 0)
            colour = mState.keyColor[std::size_t(k)];
    }
    return colour;
}

QColor PlateMap::pixelOf(int s) const
{
    if (!isWell(s))
        return {};
    return mPicture.colourAt(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)]);
}

bool PlateMap::isWell(int s) const
{
    return s >= 1 && s <= mState.wellCount && std::size_t(s) < mState.spotX.size()
        && std::size_t(s) < mState.spotY.size();
}

PlateMap::WellLook &PlateMap::look(int s)
{
    if (mLooks.size() <= std::size_t(s))
        mLooks.resize(std::size_t(s) + 1);
    return mLooks[std::size_t(s)];
}

void PlateMap::setRing(int s, const QColor &colour)
{
    look(s).ring = colour;
    redraw(s);
}

void PlateMap::setDisc(int s, bool visible, const QColor &fill)
{
    WellLook &well = look(s);
    // The image keeps what was drawn: a well that looks right already is
    // left alone, which spares a full redraw most of its work.
    if (well.disc == visible && (!visible || well.discFill == fill))
        return;
    well.disc = visible;
    well.discFill = fill;
    redraw(s);
}

// A well's patch is its share of the plate, half a pitch each way, which
// no other well's patch overlaps.
void PlateMap::redraw(int s)
{
    const PlateFormat *format = plateFormat(mState.wellCount);
    if (!format)
        return;
    const WellLook &well = look(s);
    mPicture.drawWell(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)], format->pitch / 2,
                      mState.spotRad, well.ring, mState.spotRad * DiscScale,
                      well.disc ? std::optional<QColor>(well.discFill) : std::nullopt);
}

} // namespace Tessar

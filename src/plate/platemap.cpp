#include "platemap.h"

#include "picwell.h"
#include "platform/colour.h"

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
    for (int k = 1; k <= mState.wellCount; ++k)
        ring(k, Qt::black);
}

void PlateMap::fillallpic()
{
    for (int s = 1; s <= mState.wellCount; ++s)
        fillcell(s, SampleHasData(mState, s) ? 1 : 0);
}

void PlateMap::fillcell(int s, int hasData)
{
    if (!isWell(s))
        return;
    const QColor bk = mPicture.backColor();
    if (hasData == 0)
        disc(s, bk, bk);
    else
        disc(s, Qt::black, toQColor(discColour(s), mPicture.palette()));
}

void PlateMap::hilite(int s)
{
    if (!isWell(s))
        return;
    if (isWell(mLitSample))
        ring(mLitSample, Qt::black);
    ring(s, Qt::red);
    mLitSample = s;
}

void PlateMap::fillpos(int target)
{
    const int source = mState.moveSample;
    if (!isWell(target) || !isWell(source) || SampleHasData(mState, target))
        return;
    const QColor bk = mPicture.backColor();
    disc(source, bk, bk);
    disc(target, Qt::black, toQColor(discColour(source), mPicture.palette()));
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
    const QPointF centre = mPicture.toPixel(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)]);
    return mPicture.pixelAt(centre.toPoint());
}

bool PlateMap::isWell(int s) const
{
    return s >= 1 && s <= mState.wellCount && std::size_t(s) < mState.spotX.size()
        && std::size_t(s) < mState.spotY.size();
}

void PlateMap::disc(int s, const QColor &outline, const QColor &fill)
{
    mPicture.circle(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)],
                    mState.spotRad * DiscScale, outline, fill);
}

void PlateMap::ring(int s, const QColor &colour)
{
    mPicture.circle(mState.spotX[std::size_t(s)], mState.spotY[std::size_t(s)], mState.spotRad, colour);
}

} // namespace Tessar

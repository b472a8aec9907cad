#pragma once

#include "core/document/state.h"
#include "core/plate/welldisc.h"
#include "welldrawing.h"

#include <QColor>

#include <vector>

namespace Tessar {

class PicWell;

// The drawing procedures of the plate map. Each draws straight into the
// picture's retained image: whoever changes the document calls the one that
// brings the map up to date.
class PlateMap
{
public:
    // While one lives, a well whose look changes is drawn only once the
    // last one ends, however often it changed: a new layout clears the
    // picture, rings every well and then fills it, and each well is then
    // drawn once instead of twice.
    class Batch
    {
    public:
        explicit Batch(PlateMap &map);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        PlateMap &mMap;
    };

    PlateMap(State &state, PicWell &picture);

    // Clears the picture and draws every well's ring in black.
    void showprofile();
    // The state disc of every well.
    void fillallpic();
    // The state disc of sample s: invisible without data (hasData 0), else
    // in its key's colour or the button shadow.
    void fillcell(int s, int hasData);
    // Puts the red ring on s, turning the previous one black again.
    void hilite(int s);
    // Shows a drag of moveSample onto target before the table changes.
    void fillpos(int target);
    // Marks the wells of the `count` samples from `first` on, the ones the
    // sample frames show, and unmarks the rest.
    void markFrames(int first, int count);

    // Marks s as picked on the map for the plate-wide commands, or not.
    void setPicked(int s, bool picked);
    bool isPicked(int s) const { return lookOf(s).picked; }

    int litSample() const { return mLitSample; }

    // The image's colour inside sample s's disc: at its centre, or where
    // the disc shows its own colour beside a key number.
    QColor pixelOf(int s) const;
    // What sample s's well shows now.
    WellLook lookOf(int s) const;
    bool isFramed(int s) const { return lookOf(s).framed; }

private:
    bool isWell(int s) const;
    WellLook &look(int s);
    // The red ring of the selected well, or the black one of any other.
    void setLit(int s, bool lit);
    // Without a fill the well shows no disc.
    void setDisc(int s, const std::optional<QColor> &fill, int key = 0);
    // The disc as the document decides it, drawn as every picture of the plate draws it.
    void showDisc(int s, const WellDisc &disc);
    void setFramed(int s, bool framed);
    void redraw(int s);
    void draw(int s, bool onBlank);
    void drawHeldWells();
    void drawHeaders();
    WellPlace placeOf(int s) const;

    State &mState;
    PicWell &mPicture;
    std::vector<WellLook> mLooks;   // by sample number
    int mLitSample = 0;
    int mFramedFirst = 0;           // the wells marked as in the frames
    int mFramedLast = -1;
    int mBatches = 0;
    std::vector<int> mHeld;         // wells to draw when the batch ends
    std::vector<bool> mIsHeld;      // by sample number
    bool mClearedInBatch = false;   // so the held wells lie on blank plate
};

} // namespace Tessar

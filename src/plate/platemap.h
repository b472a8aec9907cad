#pragma once

#include "core/state.h"

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

    int litSample() const { return mLitSample; }

    // The colour a disc takes from the fields of sample s: the last field
    // (key row included, one row past those in use) naming a key wins.
    Colour discColour(int s) const;

    // The image's colour at the centre of sample s's disc.
    QColor pixelOf(int s) const;

private:
    // What one well shows: its ring, and its disc when it has one.
    struct WellLook
    {
        QColor ring = Qt::black;
        bool disc = false;
        QColor discFill;
    };

    bool isWell(int s) const;
    WellLook &look(int s);
    void setRing(int s, const QColor &colour);
    void setDisc(int s, bool visible, const QColor &fill = QColor());
    void redraw(int s);

    State &mState;
    PicWell &mPicture;
    std::vector<WellLook> mLooks;   // by sample number
    int mLitSample = 0;
};

} // namespace Tessar

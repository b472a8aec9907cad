#pragma once

#include "core/picturesize.h"

#include <QDialog>

#include <optional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace Tessar {

struct State;

// Asks how large a PNG picture of the plate map is to be: its printed
// width and resolution, showing the pixels these make for the document
// and refusing sizes past what a picture may have.
class ImageOptions : public QDialog
{
    Q_OBJECT

public:
    ImageOptions(const State &state, const PictureSize &initial, QWidget *parent = nullptr);

    PictureSize chosen() const;

    // The size chosen, or none when the user cancelled.
    static std::optional<PictureSize> ask(QWidget *parent, const State &state, const PictureSize &initial);

private:
    void showPixels();

    const State &mState;
    QDoubleSpinBox *mWidth = nullptr;
    QSpinBox *mDpi = nullptr;
    QLabel *mPixels = nullptr;
    QPushButton *mSave = nullptr;
};

} // namespace Tessar

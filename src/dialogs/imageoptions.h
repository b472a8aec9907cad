#pragma once

#include "core/plate/pictureoptions.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace Tessar {

struct State;

// Asks what a picture of the plate map is to be: its width in pixels,
// showing the height that makes for the document, and whether the
// document's name and description head it and the legend of keys follows.
class ImageOptions : public QDialog
{
    Q_OBJECT

public:
    ImageOptions(const QString &title, const State &state, const PictureOptions &initial, QWidget *parent = nullptr);

    PictureOptions chosen() const;

    // The options chosen, or none when the user cancelled.
    static std::optional<PictureOptions> ask(QWidget *parent, const QString &title, const State &state,
                                             const PictureOptions &initial);

private:
    void showHeight();

    const State &mState;
    QSpinBox *mWidth = nullptr;
    QLabel *mHeight = nullptr;
    QCheckBox *mTitle = nullptr;
    QCheckBox *mLegend = nullptr;
    QPushButton *mOk = nullptr;
};

} // namespace Tessar

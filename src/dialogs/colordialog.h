#pragma once

#include "core/document/state.h"

#include <QDialog>

#include <array>

class QPushButton;

namespace Tessar {

class Swatch;

// Setup > Color: the background colour and the six key colours. The dialog
// works on a copy; whichever way it is closed, the copy is checked for
// identical colours and committed unless the user declines.
class ColorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ColorDialog(State &state, QWidget *parent = nullptr);

    // Shows the dialog modally and returns once it is closed; the caller then
    // redraws the sample frames. Colours are never written to the settings.
    static void run(QWidget *parent, State &state);

    // Ordered pairs of distinct entries with equal colours: one identical
    // pair counts twice.
    static int conflictCount(const std::array<Colour, 7> &colours);

    void done(int result) override;

private:
    void createControls();
    void pickColor(int entry);
    void resetDefaults();
    void setWorkColor(int entry, Colour colour);

    State &mState;
    std::array<Colour, 7> mWorkColor{};
    // The chooser opens on the colour last chosen in it, not on the colour
    // of the entry being edited; black until the first choice.
    Colour mLastChosen = 0;
    bool mClosing = false;

    std::array<QPushButton *, 7> mButtons{};   // 0 background, 1 to 6 keys
    std::array<Swatch *, 7> mSwatches{};
};

} // namespace Tessar

#pragma once

#include "core/document/state.h"

#include <QDialog>

namespace Tessar {

// The colour chooser the Color dialog opens: the desktop's basic colours
// and nothing to define colours of one's own with. It opens on the given
// colour, chosen in the grid when it is one of the basic ones; OK without
// a choice keeps it.
class ColourChooser : public QDialog
{
    Q_OBJECT

public:
    ColourChooser(Colour initial, const QString &title, QWidget *parent = nullptr);

    Colour colour() const { return mColour; }

private:
    Colour mColour;
};

} // namespace Tessar

#include "colourchooser.h"

#include "basiccolourgrid.h"
#include "colour.h"
#include "platform/closeonly.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tessar {

ColourChooser::ColourChooser(Colour initial, const QString &title, QWidget *parent)
    : QDialog(parent)
    , mColour(initial)
{
    setObjectName(QStringLiteral("ColorChooser"));
    setWindowTitle(title);
    offerCloseOnly(this);

    auto *grid = new BasicColourGrid(this);
    grid->setObjectName(QStringLiteral("basicColors"));
    // A system colour stands for whatever this desktop paints with; it is
    // never one of the basic colours, even when it looks like one.
    if (!(initial & 0x80000000u))
        grid->setCurrent(BasicColourGrid::indexOf(toQColor(initial, palette())));
    connect(grid, &BasicColourGrid::currentChanged, this,
            [this](int index) { mColour = fromQColor(BasicColourGrid::colourAt(index)); });
    connect(grid, &BasicColourGrid::activated, this, &QDialog::accept);

    auto *label = new QLabel(QStringLiteral("&Basic colors:"), this);
    label->setBuddy(grid);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    grid->setFocus();
}

} // namespace Tessar

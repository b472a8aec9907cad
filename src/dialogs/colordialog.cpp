#include "colordialog.h"

#include "fixeddialog.h"
#include "screencentre.h"
#include "swatch.h"

#include "platform/colour.h"
#include "platform/commondialogs.h"
#include "platform/twips.h"

#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QScopedValueRollback>

namespace Tessar {

namespace {

constexpr Colour LightGrey = 0xC0C0C0u;
constexpr int ButtonLeft = 240;
constexpr int ButtonWidth = 2175;
constexpr int ButtonHeight = 375;
constexpr int BackgroundTop = 3720;

// Top of key n's button; the background button sits below the six.
int buttonTop(int entry)
{
    return entry == 0 ? BackgroundTop : 180 + 600 * (entry - 1);
}

// The classic palette's bright colours 9 to 14, as 0x00BBGGRR.
constexpr std::array<Colour, 7> ResetColours = {
    0x000000u, 0xFF0000u, 0x00FF00u, 0xFFFF00u, 0x0000FFu, 0xFF00FFu, 0x00FFFFu,
};

} // namespace

ColorDialog::ColorDialog(State &state, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mWorkColor(state.keyColor)
{
    setUpFixedDialog(this, QStringLiteral("Colorfrm"), QStringLiteral("Color"), 2730, 5175);
    QPalette back = palette();
    back.setColor(QPalette::Window, toQColor(LightGrey, back));
    setPalette(back);
    setAutoFillBackground(true);

    createControls();
}

void ColorDialog::run(QWidget *parent, State &state)
{
    ColorDialog dialog(state, parent);
    centreOnScreen(&dialog, parent);
    dialog.exec();
}

void ColorDialog::createControls()
{
    // Swatches first, so that each lies behind its button and shows as a
    // coloured border around it.
    for (int entry = 0; entry <= KeyCount; ++entry) {
        auto *swatch = new Swatch(this);
        swatch->setObjectName(QStringLiteral("Shape%1").arg(entry));
        swatch->setGeometry(twipsRect(ButtonLeft - 120, buttonTop(entry) - 60, ButtonWidth + 240, ButtonHeight + 120));
        swatch->setColour(mState.keyColor[std::size_t(entry)]);
        mSwatches[std::size_t(entry)] = swatch;
    }

    for (int entry = 0; entry <= KeyCount; ++entry) {
        auto *button = new QPushButton(this);
        if (entry == 0) {
            button->setObjectName(QStringLiteral("Background"));
            button->setText(QStringLiteral("No Key Color"));
        } else {
            button->setObjectName(QStringLiteral("Operator%1").arg(entry));
            button->setText(mState.keyName[std::size_t(entry)]);
        }
        button->setAutoDefault(false);
        button->setGeometry(twipsRect(ButtonLeft, buttonTop(entry), ButtonWidth, ButtonHeight));
        connect(button, &QPushButton::clicked, this, [this, entry] { pickColor(entry); });
        mButtons[std::size_t(entry)] = button;
    }

    auto *reset = new QPushButton(QStringLiteral("Reset Color Defaults"), this);
    reset->setObjectName(QStringLiteral("Command1"));
    reset->setAutoDefault(false);
    reset->setGeometry(twipsRect(120, 4260, 2415, 375));
    connect(reset, &QPushButton::clicked, this, &ColorDialog::resetDefaults);

    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setAutoDefault(false);
    cancel->setGeometry(twipsRect(120, 4740, 975, 375));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setAutoDefault(false);
    ok->setGeometry(twipsRect(1560, 4740, 975, 375));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    const std::array<QWidget *, 10> tabOrder = {
        mButtons[1], mButtons[2], mButtons[3], mButtons[4], mButtons[5],
        cancel, ok, mButtons[0], reset, mButtons[6],
    };
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    mButtons[1]->setFocus();
}

void ColorDialog::setWorkColor(int entry, Colour colour)
{
    mWorkColor[std::size_t(entry)] = colour;
    mSwatches[std::size_t(entry)]->setColour(colour);
}

void ColorDialog::pickColor(int entry)
{
    if (entry < 0 || entry > KeyCount)
        return;
    // A cancelled chooser brings back the committed colour, not the one
    // chosen a moment ago.
    Colour picked = mState.keyColor[std::size_t(entry)];
    if (const std::optional<Colour> chosen =
            CommonDialogs::instance().showColor(this, QStringLiteral("Define Custom Colors"), mLastChosen)) {
        picked = *chosen;
        mLastChosen = *chosen;
    }
    setWorkColor(entry, picked);
}

void ColorDialog::resetDefaults()
{
    // Black background rather than the system colour a new document starts
    // with: these are the colours the button has always restored.
    for (int entry = 0; entry <= KeyCount; ++entry)
        setWorkColor(entry, ResetColours[std::size_t(entry)]);
}

int ColorDialog::conflictCount(const std::array<Colour, 7> &colours)
{
    int count = 0;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (std::size_t j = 0; j < colours.size(); ++j) {
            if (i != j && colours[i] == colours[j])
                ++count;
        }
    }
    return count;
}

void ColorDialog::done(int result)
{
    // OK, Cancel, Escape and the close control all end here; the check must
    // run once even if closing is asked for again while the question is open.
    if (mClosing)
        return;
    const QScopedValueRollback guard(mClosing, true);

    bool commit = true;
    if (conflictCount(mWorkColor) > 0) {
        QMessageBox question(QMessageBox::Question, QStringLiteral("Color Conflict"),
                             QStringLiteral("You have assigned some identical colors\nClick OK to save new colors"),
                             QMessageBox::Ok | QMessageBox::Cancel, this);
        question.setObjectName(QStringLiteral("ColorConflict"));
        question.setDefaultButton(QMessageBox::Ok);
        commit = question.exec() == QMessageBox::Ok;
    }
    if (commit)
        mState.keyColor = mWorkColor;
    QDialog::done(result);
}

} // namespace Tessar

#pragma once

#include "core/stage/calibration.h"

#include <QDialog>

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Tessar {

// Teaches a plate type to a stage: the user reads the stage coordinates
// of two or three wells off the stage and types them in; the fit, or why
// there is none, and the residual at each well show as they type.
class CalibrationDialog : public QDialog
{
    Q_OBJECT

public:
    CalibrationDialog(const PlateType &type, const Calibration &initial, QWidget *parent = nullptr);

    // The calibration as typed; its fit may fail.
    Calibration calibration() const;

    // The calibration confirmed with OK, or none.
    static std::optional<Calibration> ask(QWidget *parent, const PlateType &type, const Calibration &initial);

private:
    void refit();

    const PlateType mType;
    QLineEdit *mName = nullptr;
    QComboBox *mUnits = nullptr;
    QComboBox *mXDirection = nullptr;
    QComboBox *mYDirection = nullptr;
    std::array<QLineEdit *, MaxTaughtWells> mWell{};
    std::array<QLineEdit *, MaxTaughtWells> mX{};
    std::array<QLineEdit *, MaxTaughtWells> mY{};
    std::array<QLabel *, MaxTaughtWells> mResidual{};
    QLabel *mFit = nullptr;
    QPushButton *mOk = nullptr;
};

} // namespace Tessar

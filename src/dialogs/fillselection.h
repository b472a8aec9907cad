#pragma once

#include "core/editing/selectionfill.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace Tessar {

struct State;

// What Edit > Fill Selection writes, and where.
struct FillRequest
{
    int row = 1;
    FillOrder order = FillOrder::AcrossRows;
    FillRule rule;
};

// Edit > Fill Selection: one row of every picked well gets a text, the
// same for all or counting up or diluting, with the first and last wells'
// values shown as they are chosen.
class FillSelectionDialog : public QDialog
{
    Q_OBJECT

public:
    FillSelectionDialog(const State &state, const WellSet &wells, QWidget *parent = nullptr);

    // Nothing for Cancel.
    static std::optional<FillRequest> run(QWidget *parent, const State &state, const WellSet &wells);

    FillRequest request() const;

private:
    void preview();

    const State &mState;
    WellSet mWells;
    QComboBox *mRow = nullptr;
    QLineEdit *mText = nullptr;
    QComboBox *mOrder = nullptr;
    QRadioButton *mSame = nullptr;
    QRadioButton *mCountUp = nullptr;
    QRadioButton *mDilute = nullptr;
    QSpinBox *mStep = nullptr;
    QComboBox *mFactor = nullptr;
    QSpinBox *mReplicates = nullptr;
    QLabel *mPreview = nullptr;
    QPushButton *mOk = nullptr;
};

} // namespace Tessar

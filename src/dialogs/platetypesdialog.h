#pragma once

#include "core/stage/stagesettings.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace Tessar {

// Setup > Plate Types: the built-in plate types to look at, the user's own
// to add, change and remove, and each type's calibrations to remove. A
// value that fails the checks says why and is never kept. The settings
// change only with OK.
class PlateTypesDialog : public QDialog
{
    Q_OBJECT

public:
    // Opens on the type chosen for plates of `wells` wells.
    PlateTypesDialog(const StageSettings &settings, int wells, QWidget *parent = nullptr);

    const StageSettings &settings() const { return mSettings; }

    // The settings as the user left them with OK, or none.
    static std::optional<StageSettings> ask(QWidget *parent, const StageSettings &settings, int wells);

    void done(int result) override;

private:
    enum Field { Left, Top, PitchX, PitchY, Width, Height, Diameter, FieldCount };

    void fillList(const QString &current);
    void showType();
    // Takes the form into the selected type; false, having said why, when it cannot.
    bool keepEdits();
    std::optional<PlateType> typed(QString *problem) const;
    const PlateType *selected() const;
    void newType();
    void removeType();
    void removeCalibration();
    void refuse(const QString &why);

    StageSettings mSettings;
    QString mShown;         // the type the form shows
    bool mFilling = false;
    QListWidget *mList = nullptr;
    QLineEdit *mName = nullptr;
    QComboBox *mGrid = nullptr;
    std::array<QLineEdit *, FieldCount> mFields{};
    QLabel *mNote = nullptr;
    QPushButton *mNew = nullptr;
    QPushButton *mRemove = nullptr;
    QListWidget *mCalibrations = nullptr;
    QPushButton *mRemoveCalibration = nullptr;
};

} // namespace Tessar

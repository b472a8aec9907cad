#pragma once

#include "core/stage/stagepositions.h"
#include "core/stage/stagesettings.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Tessar {

struct State;

// The plate map with the stage's route drawn over it, numbered.
class RoutePreview : public QWidget
{
    Q_OBJECT

public:
    RoutePreview(const State &state, QWidget *parent = nullptr);
    void setRoute(std::vector<int> samples);
    const std::vector<int> &route() const { return mRoute; }
    QSize sizeHint() const override { return {330, 480}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const State &mState;
    std::vector<int> mRoute;   // sample numbers in visit order
};

// What File > Export > Stage Positions writes, as the dialog leaves it.
struct StageExport
{
    PositionRequest request;
    QString plateName;
    QString calibrationName;    // empty: plate millimetres
    QString xyDevice;
    StageUnit unit = StageUnit::Micrometre;
    StageSettings settings;     // with any calibration taught here and the type chosen for the plate
};

// File > Export > Stage Positions: the plate type, the calibration or plate
// millimetres, the visit order with each order's travel, the wells, and the
// route over the map. Save asks where to write; the picture of the route
// is saved from here as the plate map's picture is.
class StagePositionsDialog : public QDialog
{
    Q_OBJECT

public:
    // Asks a file name for a save; none when the user cancels.
    using AskFile = std::function<std::optional<QString>(const QString &title, const QString &filter,
                                                         const QString &extension)>;

    StagePositionsDialog(const State &state, const StageSettings &settings, const StageExport &last, AskFile askFile,
                         QWidget *parent = nullptr);

    StageExport chosen() const;
    const PositionList &positions() const { return mList; }
    // Whether the settings changed here (a calibration taught) and must be stored even after Cancel.
    bool settingsChanged() const { return mSettingsChanged; }
    const StageSettings &settings() const { return mSettings; }

private:
    void fillTypes(const QString &current);
    void fillCalibrations(const QString &current);
    void update();
    void calibrate();
    void savePicture();
    const PlateType *plate() const;

    const State &mState;
    StageSettings mSettings;
    AskFile mAskFile;
    bool mSettingsChanged = false;
    PositionList mList;
    QString mRouteOf;       // the choices mList and the travels were made for
    QComboBox *mType = nullptr;
    QComboBox *mCalibration = nullptr;
    QPushButton *mCalibrate = nullptr;
    QComboBox *mOrder = nullptr;
    QCheckBox *mAllWells = nullptr;
    QLineEdit *mDevice = nullptr;
    QComboBox *mUnits = nullptr;
    QLabel *mSummary = nullptr;
    RoutePreview *mPreview = nullptr;
    QPushButton *mSave = nullptr;
};

} // namespace Tessar

#include "stagepositionsdialog.h"

#include "calibrationdialog.h"
#include "fixeddialog.h"

#include "core/document/state.h"
#include "core/plate/picturelayout.h"
#include "plate/picturefile.h"
#include "plate/platepicture.h"
#include "plate/routedrawing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tessar {

namespace {

const QString PlateMillimetres = QStringLiteral("Plate millimetres (from the top left corner)");

PictureOptions previewOptions(int width)
{
    PictureOptions options;
    options.width = std::clamp(width, MinPictureWidth, MaxPictureWidth);
    options.title = false;
    options.legend = false;
    return options;
}

} // namespace

RoutePreview::RoutePreview(const State &state, QWidget *parent)
    : QWidget(parent)
    , mState(state)
{
    setObjectName(QStringLiteral("picRoute"));
    setMinimumSize(260, 380);
}

void RoutePreview::setRoute(std::vector<int> samples)
{
    mRoute = std::move(samples);
    update();
}

void RoutePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    // The widest picture whose height fits the widget.
    PictureOptions options = previewOptions(width());
    QSize size = picturePixels(mState, options);
    if (size.height() > height() && size.height() > 0)
        options = previewOptions(width() * height() / size.height());
    const PictureLayout layout(mState, options);
    painter.translate((width() - layout.size().width()) / 2.0, 0);
    paintPlatePicture(painter, mState, layout, 1.0);
    paintRoute(painter, layout, mRoute, 1.0);
}

StagePositionsDialog::StagePositionsDialog(const State &state, const StageSettings &settings, const StageExport &last,
                                           AskFile askFile, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mSettings(settings)
    , mAskFile(std::move(askFile))
{
    setObjectName(QStringLiteral("StagePositions"));
    setWindowTitle(QStringLiteral("Export Stage Positions"));
    offerCloseOnly(this);
    auto *columns = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    columns->addLayout(left);
    auto *form = new QFormLayout;
    left->addLayout(form);
    auto addRow = [&](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };

    mType = new QComboBox(this);
    mType->setObjectName(QStringLiteral("cboPlateType"));
    addRow(QStringLiteral("&Plate type:"), mType);
    auto *calibrationRow = new QHBoxLayout;
    mCalibration = new QComboBox(this);
    mCalibration->setObjectName(QStringLiteral("cboCalibration"));
    mCalibrate = new QPushButton(QStringLiteral("&Teach..."), this);
    mCalibrate->setObjectName(QStringLiteral("cmdCalibrate"));
    mCalibrate->setAutoDefault(false);
    calibrationRow->addWidget(mCalibration, 1);
    calibrationRow->addWidget(mCalibrate);
    auto *calibrationLabel = new QLabel(QStringLiteral("&Calibration:"), this);
    calibrationLabel->setBuddy(mCalibration);
    form->addRow(calibrationLabel, calibrationRow);
    mOrder = new QComboBox(this);
    mOrder->setObjectName(QStringLiteral("cboOrder"));
    for (VisitOrder order : AllVisitOrders)
        mOrder->addItem(visitOrderName(order), int(order));
    mOrder->setCurrentIndex(int(last.request.order));
    addRow(QStringLiteral("&Order:"), mOrder);
    mAllWells = new QCheckBox(QStringLiteral("Visit &all wells, empty ones too"), this);
    mAllWells->setObjectName(QStringLiteral("chkAllWells"));
    mAllWells->setChecked(last.request.allWells);
    form->addRow(QString(), mAllWells);
    mDevice = new QLineEdit(last.xyDevice.isEmpty() ? DefaultXYDevice : last.xyDevice, this);
    mDevice->setObjectName(QStringLiteral("TxtXYDevice"));
    mDevice->setMaxLength(100);
    addRow(QStringLiteral("&XY stage device:"), mDevice);
    mUnits = new QComboBox(this);
    mUnits->setObjectName(QStringLiteral("cboUnits"));
    mUnits->addItem(unitSymbol(StageUnit::Micrometre));
    mUnits->addItem(unitSymbol(StageUnit::Millimetre));
    mUnits->setCurrentIndex(last.unit == StageUnit::Micrometre ? 0 : 1);
    addRow(QStringLiteral("CSV &units:"), mUnits);
    mSummary = new QLabel(this);
    mSummary->setObjectName(QStringLiteral("lblRouteSummary"));
    mSummary->setWordWrap(true);
    mSummary->setMinimumWidth(340);
    left->addWidget(mSummary);
    left->addStretch(1);

    auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
    mSave = buttons->addButton(QStringLiteral("&Save..."), QDialogButtonBox::AcceptRole);
    mSave->setObjectName(QStringLiteral("cmdStageSave"));
    mSave->setDefault(true);
    QPushButton *picture = buttons->addButton(QStringLiteral("Save P&icture..."), QDialogButtonBox::ActionRole);
    picture->setObjectName(QStringLiteral("cmdRoutePicture"));
    picture->setAutoDefault(false);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdStageCancel"));
    cancel->setAutoDefault(false);
    left->addWidget(buttons);

    mPreview = new RoutePreview(state, this);
    columns->addWidget(mPreview, 1);

    connect(mSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(picture, &QPushButton::clicked, this, &StagePositionsDialog::savePicture);
    connect(mCalibrate, &QPushButton::clicked, this, &StagePositionsDialog::calibrate);
    connect(mType, &QComboBox::currentIndexChanged, this, [this] { fillCalibrations(QString()); });
    for (QComboBox *box : {mCalibration, mOrder, mUnits})
        connect(box, &QComboBox::currentIndexChanged, this, &StagePositionsDialog::update);
    connect(mAllWells, &QCheckBox::toggled, this, &StagePositionsDialog::update);
    connect(mDevice, &QLineEdit::textChanged, this, &StagePositionsDialog::update);

    const PlateType *chosen = mSettings.chosenType(state.wellCount);
    fillTypes(chosen ? chosen->name : QString());
    if (!last.plateName.isEmpty() && last.plateName == mType->currentText())
        fillCalibrations(last.calibrationName);
    mOrder->setFocus();
}

const PlateType *StagePositionsDialog::plate() const
{
    return mSettings.findType(mType->currentText());
}

void StagePositionsDialog::fillTypes(const QString &current)
{
    const QSignalBlocker block(mType);
    mType->clear();
    for (const PlateType &type : mSettings.allTypes()) {
        if (type.rows == mState.nRows && type.cols == mState.nCols)
            mType->addItem(type.name);
    }
    mType->setCurrentIndex(std::max(0, mType->findText(current)));
    fillCalibrations(QString());
}

void StagePositionsDialog::fillCalibrations(const QString &current)
{
    {
        const QSignalBlocker block(mCalibration);
        mCalibration->clear();
        mCalibration->addItem(PlateMillimetres);
        const PlateType *type = plate();
        if (type) {
            for (const Calibration *c : mSettings.calibrationsOf(type->name))
                mCalibration->addItem(c->name);
        }
        mCalibration->setCurrentIndex(std::max(0, mCalibration->findText(current)));
    }
    update();
}

StageExport StagePositionsDialog::chosen() const
{
    StageExport out;
    const PlateType *type = plate();
    if (type)
        out.request.plate = *type;
    out.plateName = type ? type->name : QString();
    if (type && mCalibration->currentIndex() > 0) {
        const Calibration *c = mSettings.findCalibration(type->name, mCalibration->currentText());
        if (c) {
            out.request.calibration = fitCalibration(*type, *c);
            out.calibrationName = c->name;
        }
    }
    out.request.order = VisitOrder(mOrder->currentData().toInt());
    out.request.allWells = mAllWells->isChecked();
    out.xyDevice = mDevice->text().trimmed();
    out.unit = mUnits->currentIndex() == 0 ? StageUnit::Micrometre : StageUnit::Millimetre;
    out.settings = mSettings;
    if (type)
        out.settings.chosen[mState.wellCount] = type->name;
    return out;
}

void StagePositionsDialog::update()
{
    const StageExport choice = chosen();
    QString problem;
    if (choice.plateName.isEmpty())
        problem = QStringLiteral("No plate type fits a plate of %1 wells: add one under Setup > Plate Types.").arg(mState.wellCount);
    else if (choice.xyDevice.isEmpty())
        problem = QStringLiteral("Name the XY stage device the stage program knows, for example %1.").arg(DefaultXYDevice);
    // The route is worked out again only when what it depends on changed,
    // not at every letter of the device's name.
    const QString routeOf = QStringList{choice.plateName, choice.calibrationName, QString::number(int(choice.request.order)),
                                        choice.request.allWells ? QStringLiteral("all") : QString()}
                                .join(u'\n');
    if (routeOf != mRouteOf || choice.plateName.isEmpty()) {
        mRouteOf = routeOf;
        mList = choice.plateName.isEmpty() ? PositionList() : stagePositions(mState, choice.request);
        // Every order's travel, so the choice can be made on it.
        if (!choice.plateName.isEmpty() && mList.problem.isEmpty()) {
            const std::array<double, 4> travel = travelByOrder(mState, choice.request);
            for (int k = 0; k < 4; ++k)
                mOrder->setItemText(k, QStringLiteral("%1 (%2 mm)")
                                           .arg(visitOrderName(AllVisitOrders[k]), decimalText(travel[std::size_t(k)], 1)));
        }
    }
    if (problem.isEmpty())
        problem = mList.problem;
    if (problem.isEmpty() && mList.positions.empty())
        problem = QStringLiteral("No well holds data, so there is nothing to visit; tick \"Visit all wells\" to visit every well.");

    std::vector<int> route;
    for (const StagePosition &p : mList.positions)
        route.push_back(p.sample);
    mPreview->setRoute(route);
    mSave->setEnabled(problem.isEmpty());
    mCalibrate->setEnabled(!choice.plateName.isEmpty());
    mSummary->setText(problem.isEmpty()
                          ? QStringLiteral("%1 wells to visit, %2 mm of travel, in %3.")
                                .arg(mList.positions.size())
                                .arg(decimalText(mList.travelMm, 1),
                                     mList.calibrated ? QStringLiteral("stage coordinates")
                                                      : QStringLiteral("plate millimetres"))
                          : problem);
}

void StagePositionsDialog::calibrate()
{
    const PlateType *type = plate();
    if (!type)
        return;
    Calibration initial;
    const Calibration *shown = mCalibration->currentIndex() > 0 ? mSettings.findCalibration(type->name, mCalibration->currentText()) : nullptr;
    if (shown)
        initial = *shown;
    else
        initial.name = QStringLiteral("Stage %1").arg(mSettings.calibrationsOf(type->name).size() + 1);
    initial.plateType = type->name;
    const std::optional<Calibration> taught = CalibrationDialog::ask(this, *type, initial);
    if (!taught)
        return;
    const QString problem = mSettings.putCalibration(*taught);
    if (!problem.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), problem, QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("CalibrationRefused"));
        box.exec();
        return;
    }
    mSettingsChanged = true;
    mRouteOf.clear();   // a calibration taught again under its name moves every well
    fillCalibrations(taught->name);
}

void StagePositionsDialog::savePicture()
{
    const std::optional<QString> path =
        mAskFile(QStringLiteral("Save Route Picture"), QStringLiteral("PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|"),
                 QStringLiteral("png"));
    if (!path || path->isEmpty())
        return;
    const std::optional<PictureFormat> format = pictureFormatFor(*path);
    QString error = QStringLiteral("The picture is saved as a PNG image (.png) or an SVG drawing (.svg): choose a name "
                                   "that ends in one of them.");
    const std::vector<int> route = mPreview->route();
    const PictureOverlay overlay = [&route](QPainter &painter, const PictureLayout &layout, double pixelsPerDip) {
        paintRoute(painter, layout, route, pixelsPerDip);
    };
    if (format && writePlatePicture(mState, *format, PictureOptions(), *path, &error, overlay)) {
        mSummary->setText(QStringLiteral("The route's picture is saved as %1.").arg(QFileInfo(*path).fileName()));
        return;
    }
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    QStringLiteral("The picture could not be saved to\n%1\n\n%2").arg(*path, error), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("ExportFailed"));
    box.exec();
}

} // namespace Tessar

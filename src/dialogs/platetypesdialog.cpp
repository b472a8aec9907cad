#include "platetypesdialog.h"

#include "fixeddialog.h"
#include "screencentre.h"

#include "core/plate/plategeometry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tessar {

namespace {

const int Grids[] = {24, 48, 96, 384, 1536};

QString gridText(int wells)
{
    const PlateFormat *format = plateFormat(wells);
    return QStringLiteral("%1 \u00d7 %2 (%3 wells)").arg(format->rows).arg(format->cols).arg(wells);
}

} // namespace

PlateTypesDialog::PlateTypesDialog(const StageSettings &settings, int wells, QWidget *parent)
    : QDialog(parent)
    , mSettings(settings)
{
    setObjectName(QStringLiteral("PlateTypes"));
    setWindowTitle(QStringLiteral("Plate Types"));
    offerCloseOnly(this);
    auto *layout = new QVBoxLayout(this);
    if (!settings.problems.isEmpty()) {
        auto *problems = new QLabel(settings.problems.join(u'\n'), this);
        problems->setObjectName(QStringLiteral("lblStoredProblems"));
        problems->setWordWrap(true);
        layout->addWidget(problems);
    }
    auto *columns = new QHBoxLayout;
    layout->addLayout(columns);

    auto *left = new QVBoxLayout;
    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("lstPlateTypes"));
    mList->setMinimumWidth(200);
    left->addWidget(mList);
    auto *listButtons = new QHBoxLayout;
    mNew = new QPushButton(QStringLiteral("&New"), this);
    mNew->setObjectName(QStringLiteral("cmdTypeNew"));
    mRemove = new QPushButton(QStringLiteral("&Remove"), this);
    mRemove->setObjectName(QStringLiteral("cmdTypeRemove"));
    listButtons->addWidget(mNew);
    listButtons->addWidget(mRemove);
    left->addLayout(listButtons);
    columns->addLayout(left);

    auto *form = new QFormLayout;
    auto addRow = [&](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    mName = new QLineEdit(this);
    mName->setObjectName(QStringLiteral("TxtTypeName"));
    mName->setMaxLength(60);
    addRow(QStringLiteral("Na&me:"), mName);
    mGrid = new QComboBox(this);
    mGrid->setObjectName(QStringLiteral("cboTypeGrid"));
    for (int wells : Grids)
        mGrid->addItem(gridText(wells), wells);
    addRow(QStringLiteral("&Wells:"), mGrid);
    const char *const names[FieldCount] = {"TxtA1Left", "TxtA1Top", "TxtPitchX", "TxtPitchY", "TxtWidth", "TxtHeight",
                                           "TxtWellDiameter"};
    const char *const captions[FieldCount] = {"A1 from the &left edge (mm):", "A1 from the &top edge (mm):",
                                              "Pitch across, column to column (mm):", "Pitch down, row to row (mm):",
                                              "Footprint width (mm):", "Footprint height (mm):",
                                              "Well diameter (mm, may stay empty):"};
    for (int f = 0; f < FieldCount; ++f) {
        mFields[std::size_t(f)] = new QLineEdit(this);
        mFields[std::size_t(f)]->setObjectName(QLatin1String(names[f]));
        addRow(QString::fromUtf8(captions[f]), mFields[std::size_t(f)]);
    }
    mNote = new QLabel(this);
    mNote->setObjectName(QStringLiteral("lblTypeNote"));
    mNote->setWordWrap(true);
    form->addRow(mNote);
    mCalibrations = new QListWidget(this);
    mCalibrations->setObjectName(QStringLiteral("lstCalibrations"));
    mCalibrations->setMaximumHeight(80);
    addRow(QStringLiteral("&Calibrations:"), mCalibrations);
    mRemoveCalibration = new QPushButton(QStringLiteral("Remove C&alibration"), this);
    mRemoveCalibration->setObjectName(QStringLiteral("cmdCalibrationRemove"));
    form->addRow(QString(), mRemoveCalibration);
    columns->addLayout(form);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdTypesOk"));
    ok->setAutoDefault(false);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdTypesCancel"));
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mNew, &QPushButton::clicked, this, &PlateTypesDialog::newType);
    connect(mRemove, &QPushButton::clicked, this, &PlateTypesDialog::removeType);
    connect(mRemoveCalibration, &QPushButton::clicked, this, &PlateTypesDialog::removeCalibration);
    connect(mList, &QListWidget::currentTextChanged, this, [this](const QString &name) {
        if (mFilling || name == mShown)
            return;
        // Leaving a type whose values cannot be kept stays on it.
        if (!keepEdits()) {
            const QList<QListWidgetItem *> back = mList->findItems(mShown, Qt::MatchExactly);
            if (!back.isEmpty()) {
                mFilling = true;
                mList->setCurrentItem(back.first());
                mFilling = false;
            }
            return;
        }
        showType();
    });
    const PlateType *chosen = mSettings.chosenType(wells);
    fillList(chosen ? chosen->name : QString());
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

const PlateType *PlateTypesDialog::selected() const
{
    return mSettings.findType(mShown);
}

void PlateTypesDialog::fillList(const QString &current)
{
    mFilling = true;
    mList->clear();
    for (const PlateType &type : mSettings.allTypes()) {
        mList->addItem(type.name);
        if (type.name == current)
            mList->setCurrentRow(mList->count() - 1);
    }
    if (!mList->currentItem())
        mList->setCurrentRow(0);
    mFilling = false;
    showType();
}

void PlateTypesDialog::showType()
{
    mShown = mList->currentItem() ? mList->currentItem()->text() : QString();
    const PlateType *type = selected();
    if (!type)
        return;
    const bool own = !type->builtIn;
    mName->setText(type->name);
    mGrid->setCurrentIndex(std::max(0, mGrid->findData(type->wells())));
    const double values[FieldCount] = {type->a1Left, type->a1Top, type->pitchX, type->pitchY,
                                       type->width,  type->height, type->wellDiameter};
    for (int f = 0; f < FieldCount; ++f) {
        QLineEdit *box = mFields[std::size_t(f)];
        box->setText(f == Diameter && values[f] == 0 ? QString() : decimalText(values[f], 6));
        box->setReadOnly(!own);
    }
    mName->setReadOnly(!own);
    mGrid->setEnabled(own);
    mRemove->setEnabled(own);
    mNote->setText(!own && type->typical
                       ? QStringLiteral("Typical values: no standard fixes them, so check them against the maker's "
                                        "drawing. New makes a copy to change.")
                       : !own ? QStringLiteral("Built in. New makes a copy to change.") : QString());
    mCalibrations->clear();
    for (const Calibration *c : mSettings.calibrationsOf(type->name))
        mCalibrations->addItem(c->name);
    mRemoveCalibration->setEnabled(mCalibrations->count() > 0);
    if (mCalibrations->count() > 0)
        mCalibrations->setCurrentRow(0);
}

std::optional<PlateType> PlateTypesDialog::typed(QString *problem) const
{
    const PlateType *shown = selected();
    PlateType type = shown ? *shown : PlateType();
    type.name = mName->text().trimmed();
    const PlateFormat *format = plateFormat(mGrid->currentData().toInt());
    type.rows = format->rows;
    type.cols = format->cols;
    const char *const what[FieldCount] = {"A1's distance from the left edge", "A1's distance from the top edge",
                                          "The pitch across", "The pitch down", "The footprint's width",
                                          "The footprint's height", "The well diameter"};
    double *targets[FieldCount] = {&type.a1Left, &type.a1Top, &type.pitchX, &type.pitchY,
                                   &type.width,  &type.height, &type.wellDiameter};
    for (int f = 0; f < FieldCount; ++f) {
        const QString text = mFields[std::size_t(f)]->text().trimmed();
        if (f == Diameter && text.isEmpty()) {
            type.wellDiameter = 0;
            continue;
        }
        const std::optional<double> value = typedNumber(text);
        if (!value) {
            *problem = QStringLiteral("%1 is no number: \"%2\".").arg(QLatin1String(what[f]), text);
            return std::nullopt;
        }
        *targets[f] = *value;
    }
    return type;
}

bool PlateTypesDialog::keepEdits()
{
    const PlateType *shown = selected();
    if (!shown || shown->builtIn)
        return true;
    QString problem;
    const std::optional<PlateType> type = typed(&problem);
    if (type && *type == *shown)
        return true;
    const QString oldName = shown->name;
    if (type)
        problem = mSettings.putType(*type, oldName);
    if (!problem.isEmpty()) {
        refuse(problem);
        return false;
    }
    // The list follows a renamed type, and stays on the entry it is on.
    const QString current = mList->currentItem() ? mList->currentItem()->text() : QString();
    fillList(current == oldName ? type->name : current);
    return true;
}

void PlateTypesDialog::refuse(const QString &why)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), QStringLiteral("%1\n\nThe plate type is kept as it was.").arg(why),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("PlateTypeRefused"));
    box.exec();
}

void PlateTypesDialog::newType()
{
    if (!keepEdits())
        return;
    PlateType copy = selected() ? *selected() : *defaultPlateType(96);
    const QString base = copy.name + QStringLiteral(" copy");
    copy.name = base;
    for (int n = 2; mSettings.findType(copy.name); ++n)
        copy.name = base + u' ' + QString::number(n);
    if (copy.name.size() > 60)
        copy.name = QStringLiteral("New plate type %1").arg(mSettings.userTypes.size() + 1);
    const QString problem = mSettings.putType(copy);
    if (!problem.isEmpty()) {
        refuse(problem);
        return;
    }
    fillList(copy.name);
    mName->setFocus();
    mName->selectAll();
}

void PlateTypesDialog::removeType()
{
    const PlateType *type = selected();
    if (!type || type->builtIn)
        return;
    const int row = mList->currentRow();
    mSettings.removeType(type->name);
    mShown.clear();
    fillList(mList->item(std::max(0, row - 1))->text());
}

void PlateTypesDialog::removeCalibration()
{
    if (!mCalibrations->currentItem())
        return;
    const QString name = mCalibrations->currentItem()->text();
    std::erase_if(mSettings.calibrations, [&](const Calibration &c) { return c.plateType == mShown && c.name == name; });
    showType();
}

void PlateTypesDialog::done(int result)
{
    if (result == QDialog::Accepted && !keepEdits())
        return;
    QDialog::done(result);
}

std::optional<StageSettings> PlateTypesDialog::ask(QWidget *parent, const StageSettings &settings, int wells)
{
    PlateTypesDialog dialog(settings, wells, parent);
    centreOnScreen(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    StageSettings kept = dialog.settings();
    kept.problems.clear();
    return kept;
}

} // namespace Tessar

#include "mainwindow.h"

#include "exportrequest.h"

#include "core/document/settings.h"
#include "dialogs/platetypesdialog.h"
#include "dialogs/screencentre.h"
#include "dialogs/stagepositionsdialog.h"
#include "platform/commondialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>

namespace Tessar {

namespace {

const QString ExportStageTitle = QStringLiteral("Export Stage Positions");

StageSettings readStageSettings()
{
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    return loadStageSettings(store);
}

void writeStageSettings(const StageSettings &settings)
{
    QSettings store(settingsFilePath(), QSettings::IniFormat);
    saveStageSettings(store, settings);
    store.sync();
}

void tellNotExported(QWidget *parent, const QString &path, const QString &why)
{
    QMessageBox box(QMessageBox::Warning, ExportStageTitle,
                    QStringLiteral("The stage positions could not be saved to\n%1\n\n%2")
                        .arg(QDir::toNativeSeparators(path), why),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ExportFailed"));
    box.exec();
}

} // namespace

void MainWindow::mnuSetupPlateTypes_Click()
{
    const std::optional<StageSettings> kept = PlateTypesDialog::ask(this, readStageSettings(), mState.wellCount);
    if (kept)
        writeStageSettings(*kept);
}

// The file's extension says what is written: a position list (.pos) or a
// table (.csv), the save dialog's filter giving a name typed without one.
void MainWindow::mnuFileExportStage_Click()
{
    // The picture's title carries the description as the window shows it.
    State shown = mState;
    shown.fileDesc = TxtFileDesc->text();
    auto askFile = [this](const QString &title, const QString &filter, const QString &extension) {
        return CommonDialogs::instance().showSave(this, exportRequest(mState, title, filter, extension));
    };
    StagePositionsDialog dialog(shown, readStageSettings(), *mLastStageExport, askFile, this);
    centreOnScreen(&dialog, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // A calibration taught in the dialog is kept, whatever the export does.
    if (!accepted) {
        if (dialog.settingsChanged())
            writeStageSettings(dialog.settings());
        return;
    }
    const StageExport choice = dialog.chosen();
    const PositionList list = dialog.positions();
    writeStageSettings(choice.settings);
    *mLastStageExport = choice;

    const std::optional<QString> path = askFile(
        ExportStageTitle, QStringLiteral("Position List (*.pos)|*.pos|CSV File (*.csv)|*.csv|"), QStringLiteral("pos"));
    if (!path || path->isEmpty())
        return;
    const QString suffix = QFileInfo(*path).suffix().toLower();
    QByteArray bytes;
    if (suffix == u"pos") {
        bytes = positionListFile(list, choice.xyDevice);
    } else if (suffix == u"csv") {
        bytes = positionsCsv(list, choice.unit);
    } else {
        tellNotExported(this, *path,
                        QStringLiteral("The positions are saved as a position list (.pos) or a CSV table (.csv): "
                                       "choose a name that ends in one of them."));
        return;
    }
    // Written beside the target and put in its place in one step.
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        tellNotExported(this, *path, reason + QStringLiteral("\n\nNothing on disk was changed."));
        return;
    }
    StatusBar->setText(QStringLiteral("%1 stage position(s) exported to %2.")
                           .arg(list.positions.size())
                           .arg(QDir::toNativeSeparators(*path)));
}

} // namespace Tessar

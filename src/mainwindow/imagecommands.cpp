#include "mainwindow.h"

#include "exportrequest.h"

#include "dialogs/imageoptions.h"
#include "plate/picturefile.h"
#include "platform/commondialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace Tessar {

namespace {

const QString ExportImageTitle = QStringLiteral("Export Plate Map as Image");

void tellNotSaved(QWidget *parent, const QString &path, const QString &why)
{
    QMessageBox box(QMessageBox::Warning, ExportImageTitle,
                    QStringLiteral("The plate map could not be saved to\n%1\n\n%2").arg(QDir::toNativeSeparators(path), why),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ExportFailed"));
    box.exec();
}

} // namespace

// The file's extension says the format, which the save dialog's filter
// gives a name typed without one.
void MainWindow::mnuFileExportImage_Click()
{
    // The title carries the description as the window shows it, typed or saved.
    State shown = mState;
    shown.fileDesc = TxtFileDesc->text();
    const std::optional<PictureOptions> options = ImageOptions::ask(this, ExportImageTitle, shown, mPictureOptions);
    if (!options)
        return;
    mPictureOptions = *options;
    const std::optional<QString> path = CommonDialogs::instance().showSave(
        this, exportRequest(mState, ExportImageTitle, QStringLiteral("PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|"),
                            QStringLiteral("png")));
    if (!path || path->isEmpty())
        return;
    const std::optional<PictureFormat> format = pictureFormatFor(*path);
    if (!format) {
        tellNotSaved(this, *path,
                     QStringLiteral("The plate map is saved as a PNG image (.png) or an SVG drawing (.svg): "
                                    "choose a name that ends in one of them."));
        return;
    }
    QString error;
    if (!writePlatePicture(shown, *format, *options, *path, &error)) {
        tellNotSaved(this, *path, error);
        return;
    }
    StatusBar->setText(QStringLiteral("Plate map saved as %1").arg(QFileInfo(*path).fileName()));
}

} // namespace Tessar

#include "mainwindow.h"

#include "dialogs/imageoptions.h"
#include "plate/picturefile.h"
#include "platform/commondialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include <utility>

namespace Tessar {

namespace {

const QString ExportImageTitle = QStringLiteral("Export Plate Map as Image");

// Beside the document's file, named after it.
CommonDialogs::FileRequest imageRequest(const State &state)
{
    CommonDialogs::FileRequest request;
    request.title = ExportImageTitle;
    request.filter = QStringLiteral("PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg|All Files (*.*)|*.*|");
    request.defaultExt = QStringLiteral("png");
    request.filterIndex = 1;
    const QFileInfo document(state.filePath);
    request.initDir = !state.filePath.isEmpty() && document.dir().exists() ? document.absolutePath() : state.profileDir;
    const QString title = QFileInfo(state.fileTitle).completeBaseName();
    request.fileName = (title.isEmpty() ? QStringLiteral("Untitled") : title) + QStringLiteral(".png");
    return request;
}

void tellNotSaved(QWidget *parent, const QString &path, const QString &why)
{
    QMessageBox box(QMessageBox::Warning, ExportImageTitle,
                    QStringLiteral("The plate map could not be saved to\n%1\n\n%2").arg(QDir::toNativeSeparators(path), why),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ExportFailed"));
    box.exec();
}

} // namespace

// The name's extension says the format; a PNG is then given its size, an
// SVG, which scales without loss, is drawn on the default size's grid.
void MainWindow::mnuFileExportImage_Click()
{
    const std::optional<QString> path = CommonDialogs::instance().showSave(this, imageRequest(mState));
    if (!path || path->isEmpty())
        return;
    const std::optional<PictureFormat> format = pictureFormatFor(*path);
    if (!format) {
        tellNotSaved(this, *path,
                     QStringLiteral("The plate map is saved as a PNG image (.png) or an SVG image (.svg): "
                                    "choose a name that ends in one of them."));
        return;
    }
    // The title carries the description as the window shows it, typed or saved.
    const QString savedDescription = std::exchange(mState.fileDesc, TxtFileDesc->text());
    PictureSize size;
    bool asked = true;
    if (*format == PictureFormat::Png) {
        const std::optional<PictureSize> chosen = ImageOptions::ask(this, mState, mPictureSize);
        asked = chosen.has_value();
        if (chosen)
            size = mPictureSize = *chosen;
    }
    QString error;
    const bool written = asked && writePlatePicture(mState, *format, size, *path, &error);
    mState.fileDesc = savedDescription;
    if (!asked)
        return;
    if (!written) {
        tellNotSaved(this, *path, error);
        return;
    }
    StatusBar->setText(QStringLiteral("Plate map saved as %1").arg(QFileInfo(*path).fileName()));
}

} // namespace Tessar

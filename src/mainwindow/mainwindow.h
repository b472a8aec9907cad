#pragma once

#include "core/editing/editstep.h"
#include "core/plate/pictureoptions.h"
#include "core/plate/wellselection.h"
#include "core/document/settings.h"
#include "core/document/state.h"
#include "core/layout/wheelsteps.h"
#include "core/layout/windowlayout.h"
#include "dialogs/exportoptions.h"
#include "documentcommand.h"
#include "plate/platemap.h"
#include "plate/platemouse.h"
#include "windowplacement.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QGroupBox;
class QHelpEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRubberBand;
class QScrollBar;
class QSettings;
class QWheelEvent;

namespace Tessar {

class DocumentHistory;
class Grid;
class PicWell;
class RecoveryKeeper;
struct FillResult;
struct SearchStart;
struct StageExport;
struct TextTable;
enum class ExportFormat;

// The program's one document window, "Corvant XY Stage": a header with the
// company, file name and description, the plate map, a column of sample
// frames with a scroll bar, and the menu bar.
//
// It works on the State it is given. A command that changes the state calls
// the refresh procedures below itself; other windows call them the same way.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(State &state, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: reads the settings, starts the first document, places the
    // window and lays it out.
    void loadSettings(QSettings &store);
    // Writes the settings with the window's current place, in twips.
    void saveSettings(QSettings &store) const;
    WindowPlacement placement() const;
    void place(const WindowPlacement &placement);

    // Opens a file named from outside the window (the desktop at start-up),
    // just as File > Open does after its dialog.
    void openFile(const QString &path);

    // A later start was given a file. The running document is never
    // disturbed without the user's word: a file that cannot be read only
    // says why, unsaved changes are offered for saving first, and a request
    // that arrives while a dialog is open waits until it closes.
    void requestOpen(const QString &path);

    // Every change to the document runs through here, as one step of the
    // history: `body` is the command itself, which refreshes the window as
    // it always has; the step records what it changed in the part of the
    // state `scope` names, redraws the wells whose data changed, and keeps
    // the recovery file current. Returns whether anything changed.
    bool change(const QString &text, EditRecorder::Scope scope, std::vector<int> samples,
                const std::function<void()> &body, DocumentCommand::Merge merge = DocumentCommand::NoMerge);

    DocumentHistory &history() { return *mHistory; }
    // Whether the document holds changes that are in no file.
    bool isModified() const;

    // Lays out every control for the window's size, then refills the frames
    // and redraws the plate.
    void sizeform();
    // Starts an empty, untitled document for the current plate format.
    void initialize5();

    // The frames and grids for the samples from `first` on, the current
    // sample's well and the scroll bar.
    void fillsample(int first);
    void showprofile();
    void fillallpic();
    void fillcell(int s, int hasData);
    void hilite(int s);
    void fillpos(int target);

    PlateMap &plateMap() { return *mPlateMap; }
    const WindowLayout &layoutInTwips() const { return mLayout; }

    // The commands, as the menus and buttons run them.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFilePrint_Click();
    void mnuFileExportPdf_Click();
    void mnuFileExportImage_Click();
    void mnuFilePrintPreview_Click();
    void mnuFileExit_Click();
    void MnuSetupWellnum_Click(int index);
    void CmdList_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

    void mnuEditCopyAll_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditDeleteAll_Click();
    void mnuEditDelete_Click();
    void mnuEditFillNum_Click(int index);
    void mnuEditFillAll_Click(int index);
    void mnuSearchFind_Click();
    void mnuSearchFindNext_Click();
    void mnuSetupColor_Click();
    void mnuSetupAssign_Click();
    void mnuSetupConfigure_Click();
    void mnuInsertOP_Click(int index);
    void mnuFileRecover_Click();
    void mnuFileImport_Click();
    void mnuFileExportCsv_Click();
    void mnuFileExportJson_Click();
    void mnuFileExportXlsx_Click();
    void mnuEditPasteTable_Click();
    void mnuFileExportStage_Click();
    void mnuSetupPlateTypes_Click();
    void mnuEditFillSelection_Click();
    void selectAllWells();

    // The wells picked on the map, which the plate-wide commands act on.
    const WellSet &selection() const { return mSelection; }

signals:
    // The window has closed and saved the settings: the program ends.
    void unloaded();
    // Help > Help: the program shows its manual; the window only asks for it.
    void helpRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void vsb_Change(int value);
    void GrdID_Click(int index);
    void GrdID_DblClick(int index);
    void GrdID_KeyDown(int index, int key, Qt::KeyboardModifiers modifiers);
    void GrdID_KeyPress(int index, QChar character);
    void commitCell(int index);
    void applyAdvance(int index, int row);
    void scrollRefresh(int top);
    bool scrollsSamples(const QObject *watched) const;
    void scrollByWheel(QWheelEvent *event);
    void fillDown(int index, FillResult (*fill)(State &, int), const QString &name);
    void searchFrom(const SearchStart &start);
    void PicWell_MouseMove(float x, float y);
    void PicWell_MouseDown(float x, float y, Qt::KeyboardModifiers modifiers);
    void PicWell_MouseUp(float x, float y);
    void PicWell_KeyDown(int key);
    void PicWell_ToolTip(QHelpEvent *event);
    void writeSettings() const;
    // Picks wells for a press with Shift or Ctrl, or on a row or column
    // label; false leaves the press to pick up a sample.
    bool pickOnMap(float x, float y, Qt::KeyboardModifiers modifiers);
    void endBand(float x, float y);
    void setSelection(WellSet wells);
    void clearSelection() { setSelection({}); }
    // After the map was drawn afresh: the picked wells marked again.
    void remarkSelection();

    std::optional<QString> askFile(bool forSaving);
    void nameDocument(const QString &path);
    void startUntitled();
    bool save(bool saveAs);
    void openDocument(const QString &path, const QString &stepText);
    WindowFace face() const;
    void applyFace(const WindowFace &face);
    void showStep(const DocumentEdit &edit, bool undone, const std::optional<WindowFace> &face);
    void redrawWells(const std::vector<int> &samples);
    void descriptionEdited(const QString &text);
    void handOverPending();
    void handOver(const QString &path);
    void updateRecoverEntry();
    void importTable(const TextTable &table, const QString &source);
    void exportSamples(ExportFormat format);

    void applyLayout();
    Grid *gridAt(int frame);
    void makeGrid(int frame);
    void layOutGrid(int frame);
    void focusFirstSample();
    QString frameCaption(int s) const;
    void nameInsertEntries();
    bool writeDocument();
    void showOpenedDocument();

    State &mState;
    WindowLayout mLayout = WindowLayout::designTime();
    bool mUnloaded = false;
    StoredPlacement mStoredPlacement;
    // How far the client area sat inside the frame when the window was last
    // left in its normal state; a maximised frame often has no borders.
    std::optional<QPoint> mNormalFrameOffset;
    Qt::KeyboardModifiers mStrokeModifiers;   // of the key stroke being typed
    WheelSteps mWheelSteps;                   // over the map and the frames
    PictureOptions mPictureOptions;           // as the last picture was saved

    QWidget *mClient = nullptr;
    QSize mLaidOutSize;   // the client size sizeform last worked with
    QGroupBox *fraHeader = nullptr;
    QLabel *LblCompany = nullptr;
    QLabel *LblFilename = nullptr;
    QLineEdit *TxtFileDesc = nullptr;
    QPushButton *CmdList = nullptr;
    QGroupBox *FraPic = nullptr;
    PicWell *mPicWell = nullptr;
    QGroupBox *fraMain = nullptr;
    std::array<QGroupBox *, MaxFrames> fraSample{};
    // A frame's grid is made when the frame is first shown or used: most
    // windows show only a few frames, and a grid costs the start its time.
    std::array<Grid *, MaxFrames> GrdID{};
    QScrollBar *vsb = nullptr;
    QLabel *StatusBar = nullptr;

    QAction *mnuFileSave = nullptr;
    QAction *mnuFileRecover = nullptr;
    QAction *mnuEditPaste = nullptr;
    QAction *mnuSetupAssign = nullptr;
    std::array<QAction *, KeyCount + 1> mnuInsertOP{};   // 1 to 6

    // The selection is the view's, never the document's: no file, no undo.
    WellSet mSelection;
    int mSelectionPlate = 0;              // the well count it was made on
    enum class MapGesture { None, Band, Picked } mGesture = MapGesture::None;
    QPointF mBandFrom;                    // in plate units
    bool mBandAdds = false;               // Ctrl held too: the band adds to the selection
    QRubberBand *mBand = nullptr;

    std::unique_ptr<PlateMap> mPlateMap;
    std::unique_ptr<PlateMouse> mPlateMouse;

    DocumentHistory *mHistory = nullptr;
    RecoveryKeeper *mRecovery = nullptr;
    QString mDescriptionShown;      // the description box as the history knows it
    QByteArray mLastPackedCells;    // the cells the last replaced document left
    QString mDamagedFile;           // opened only in part: keep a copy before saving over it
    QStringList mPendingOpens;      // files handed over while a dialog was open
    QPointer<QWidget> mWatchedModal;  // the dialog they wait for
    bool mHandingOver = false;
    ExportChoice mExportChoice;     // the last export's choices
    std::unique_ptr<StageExport> mLastStageExport;   // the stage export's last choices
};

} // namespace Tessar

#include "mainwindow.h"

#include "documenthistory.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace Tessar {

namespace {

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QMenu *addSubmenu(QMenu *parent, const QString &name, const QString &caption)
{
    QMenu *menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction *addItem(QMenu *menu, const QString &name, const QString &caption,
                 const QKeySequence &shortcut = QKeySequence())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QString indexed(const char *name, int index)
{
    return QLatin1String(name) + QString::number(index);
}

const char *const fillCaptions[] = {"1 Sample", "2 Samples", "5 Samples", "10 Samples",
                                    "20 Samples", "30 Samples", "40 Samples"};

} // namespace

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    QMenu *file = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    connect(addItem(file, QStringLiteral("mnuFileNew"), QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, [this] { mnuFileNew_Click(); });
    connect(addItem(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, [this] { mnuFileOpen_Click(); });
    mnuFileSave = addItem(file, QStringLiteral("mnuFileSave"), QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(mnuFileSave, &QAction::triggered, this, [this] { mnuFileSave_Click(); });
    connect(addItem(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("Save &As")),
            &QAction::triggered, this, [this] { mnuFileSaveAs_Click(); });
    connect(addItem(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, [this] { mnuFilePrint_Click(); });
    addSeparator(file, "zFile1");
    connect(addItem(file, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit")),
            &QAction::triggered, this, [this] { mnuFileExit_Click(); });
    addSeparator(file, "zFile2");
    mnuFileRecover = addItem(file, QStringLiteral("mnuFileRecover"), QStringLiteral("&Recover Unsaved Samples..."));
    connect(mnuFileRecover, &QAction::triggered, this, [this] { mnuFileRecover_Click(); });
    addSeparator(file, "zFile3");
    connect(addItem(file, QStringLiteral("mnuFileImport"), QStringLiteral("&Import Samples...")),
            &QAction::triggered, this, [this] { mnuFileImport_Click(); });
    QMenu *exports = addSubmenu(file, QStringLiteral("mnuFileExport"), QStringLiteral("&Export"));
    connect(addItem(exports, QStringLiteral("mnuFileExportCsv"), QStringLiteral("Samples as &CSV...")),
            &QAction::triggered, this, [this] { mnuFileExportCsv_Click(); });
    connect(addItem(exports, QStringLiteral("mnuFileExportJson"), QStringLiteral("Samples as &JSON...")),
            &QAction::triggered, this, [this] { mnuFileExportJson_Click(); });
    connect(addItem(exports, QStringLiteral("mnuFileExportXlsx"), QStringLiteral("Samples as &Workbook...")),
            &QAction::triggered, this, [this] { mnuFileExportXlsx_Click(); });
    connect(addItem(exports, QStringLiteral("mnuFileExportImage"), QStringLiteral("Plate Map as &Image...")),
            &QAction::triggered, this, [this] { mnuFileExportImage_Click(); });
    connect(addItem(exports, QStringLiteral("mnuFileExportPdf"), QStringLiteral("Printout as &PDF...")),
            &QAction::triggered, this, [this] { mnuFileExportPdf_Click(); });
    connect(addItem(exports, QStringLiteral("mnuFilePrintPreview"), QStringLiteral("Print Pre&view...")),
            &QAction::triggered, this, [this] { mnuFilePrintPreview_Click(); });
    connect(addItem(exports, QStringLiteral("mnuFileExportStage"), QStringLiteral("&Stage Positions...")),
            &QAction::triggered, this, [this] { mnuFileExportStage_Click(); });

    QMenu *edit = addMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    edit->addAction(mHistory->undoAction());
    edit->addAction(mHistory->redoAction());
    addSeparator(edit, "zedit0");
    connect(addItem(edit, QStringLiteral("mnuEditCopyAll"), QStringLiteral("Copy &All"), QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, [this] { mnuEditCopyAll_Click(); });
    connect(addItem(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, [this] { mnuEditCopy_Click(); });
    mnuEditPaste = addItem(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(mnuEditPaste, &QAction::triggered, this, [this] { mnuEditPaste_Click(); });
    addSeparator(edit, "zedit1");
    connect(addItem(edit, QStringLiteral("mnuEditDeleteAll"), QStringLiteral("&Delete All of this Sample Information")),
            &QAction::triggered, this, [this] { mnuEditDeleteAll_Click(); });
    connect(addItem(edit, QStringLiteral("mnuEditDelete"), QStringLiteral("Delete this Item of Sample Information"),
                    QKeySequence(Qt::Key_Delete)),
            &QAction::triggered, this, [this] { mnuEditDelete_Click(); });
    addSeparator(edit, "zedit2");
    QMenu *fillDown = addSubmenu(edit, QStringLiteral("mnuEditFillDown"), QStringLiteral("Fill Down this item of information"));
    for (int n = 1; n <= 7; ++n) {
        connect(addItem(fillDown, indexed("mnuEditFillNum", n), QLatin1String(fillCaptions[n - 1])),
                &QAction::triggered, this, [this, n] { mnuEditFillNum_Click(n); });
    }
    addSeparator(edit, "zedit4");
    QMenu *fillAll = addSubmenu(edit, QStringLiteral("mnuEditFillDownAll"), QStringLiteral("Fill Down all information"));
    for (int n = 1; n <= 7; ++n) {
        connect(addItem(fillAll, indexed("mnuEditFillAll", n), QLatin1String(fillCaptions[n - 1])),
                &QAction::triggered, this, [this, n] { mnuEditFillAll_Click(n); });
    }
    addSeparator(edit, "zedit5");
    connect(addItem(edit, QStringLiteral("mnuEditPasteTable"), QStringLiteral("Paste Table"),
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)),
            &QAction::triggered, this, [this] { mnuEditPasteTable_Click(); });
    connect(addItem(edit, QStringLiteral("mnuEditFillSelection"), QStringLiteral("Fill Selection..."),
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)),
            &QAction::triggered, this, [this] { mnuEditFillSelection_Click(); });
    // Picking every well has no menu entry, only its keys, wherever the focus is.
    auto *selectAll = new QAction(this);
    selectAll->setObjectName(QStringLiteral("actSelectAllWells"));
    selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    selectAll->setShortcutContext(Qt::WindowShortcut);
    addAction(selectAll);
    connect(selectAll, &QAction::triggered, this, [this] { selectAllWells(); });

    QMenu *search = addMenu(bar, "mnuSearch", QStringLiteral("&Search"));
    connect(addItem(search, QStringLiteral("mnuSearchFind"), QStringLiteral("&Find")),
            &QAction::triggered, this, [this] { mnuSearchFind_Click(); });
    connect(addItem(search, QStringLiteral("mnuSearchFindNext"), QStringLiteral("Find &Next"), QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, [this] { mnuSearchFindNext_Click(); });

    QMenu *setup = addMenu(bar, "mnuSetup", QStringLiteral("Se&tup"));
    QMenu *wellSize = addSubmenu(setup, QStringLiteral("MnuSetupWell"), QStringLiteral("Well Size"));
    const char *const wellCaptions[] = {"24", "48", "96", "384"};
    for (int i = 0; i < 4; ++i) {
        connect(addItem(wellSize, indexed("MnuSetupWellnum", i), QLatin1String(wellCaptions[i])),
                &QAction::triggered, this, [this, i] { MnuSetupWellnum_Click(i); });
    }
    connect(addItem(setup, QStringLiteral("mnuSetupColor"), QStringLiteral("&Color")),
            &QAction::triggered, this, [this] { mnuSetupColor_Click(); });
    mnuSetupAssign = addItem(setup, QStringLiteral("mnuSetupAssign"), QStringLiteral("&Assign Operator Color to Segment"));
    mnuSetupAssign->setCheckable(true);
    // The command decides about the check mark itself, so a click must not flip it first.
    connect(mnuSetupAssign, &QAction::triggered, this, [this](bool checked) {
        mnuSetupAssign->setChecked(!checked);
        mnuSetupAssign_Click();
    });
    connect(addItem(setup, QStringLiteral("mnuSetupConfigure"), QStringLiteral("Con&figure")),
            &QAction::triggered, this, [this] { mnuSetupConfigure_Click(); });
    connect(addItem(setup, QStringLiteral("mnuSetupPlateTypes"), QStringLiteral("&Plate Types...")),
            &QAction::triggered, this, [this] { mnuSetupPlateTypes_Click(); });

    QMenu *insert = addMenu(bar, "mnuInsert", QStringLiteral("&Insert"));
    for (int k = 1; k <= KeyCount; ++k) {
        QAction *entry = addItem(insert, indexed("mnuInsertOP", k), QStringLiteral("Operator &") + QString::number(k),
                                 QKeySequence(Qt::Key_F3 + k));
        connect(entry, &QAction::triggered, this, [this, k] { mnuInsertOP_Click(k); });
        mnuInsertOP[std::size_t(k)] = entry;
    }

    QMenu *help = addMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    connect(addItem(help, QStringLiteral("mnuHelpContents"), QStringLiteral("&Help")),
            &QAction::triggered, this, [this] { mnuHelpContents_Click(); });
    addSeparator(help, "zhelp1");
    connect(addItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About Tessar")),
            &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });
}

} // namespace Tessar

#include "mainwindow.h"

#include "exportrequest.h"

#include "core/tables/tableexport.h"
#include "core/tables/tableimport.h"
#include "core/tables/tablepaste.h"
#include "core/tables/tablereader.h"
#include "dialogs/exportoptions.h"
#include "dialogs/importpreview.h"
#include "platform/commondialogs.h"
#include "platform/grid.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>

// Sample lists to and from spreadsheets: File > Import Samples, Edit >
// Paste Table and File > Export. The core plans each change first; these
// commands show the plan and carry it out as one step of the history.

namespace Tessar {

namespace {

// A message lists this many problems; the rest are counted.
constexpr int ListedProblems = 12;

QString issueText(const TableIssue &issue)
{
    return issue.line > 0 ? QStringLiteral("line %1: %2").arg(issue.line).arg(issue.reason) : issue.reason;
}

QString issueList(const std::vector<TableIssue> &issues, int total)
{
    QStringList lines;
    for (std::size_t i = 0; i < issues.size() && i < std::size_t(ListedProblems); ++i)
        lines.append(QStringLiteral("\u2022 ") + issueText(issues[i]));
    const int listed = int(lines.size());
    if (total > listed)
        lines.append(QStringLiteral("\u2022 and %1 more").arg(total - listed));
    return lines.join(u'\n');
}

QString samplesCount(std::size_t n)
{
    return n == 1 ? QStringLiteral("1 sample") : QStringLiteral("%1 samples").arg(n);
}

int samplesWithData(const State &state)
{
    int n = 0;
    for (int s = 1; s <= state.wellCount; ++s)
        n += SampleHasData(state, s) ? 1 : 0;
    return n;
}

// The sample becomes the current item, in view: the list scrolls only when
// it is not on screen already.
void bringIntoView(State &state, int s)
{
    const int shown = std::max(state.nFrames, 1);
    if (s < state.topSample || s >= state.topSample + shown)
        state.topSample = std::clamp(s, 1, std::max(state.wellCount, 1));
    state.curGrid = std::clamp(s - state.topSample, 0, MaxFrames - 1);
}

} // namespace

void MainWindow::mnuFileImport_Click()
{
    CommonDialogs::FileRequest request;
    request.title = QStringLiteral("Import Samples");
    request.filter = QStringLiteral("Tables (*.csv *.tsv *.txt *.xlsx)|*.csv;*.tsv;*.txt;*.xlsx|All Files (*.*)|*.*|");
    request.initDir = documentFolder(mState);
    request.filterIndex = 1;
    const std::optional<QString> path = CommonDialogs::instance().showOpen(this, request);
    if (!path || path->isEmpty())
        return;

    QByteArray bytes;
    QString error;
    if (!readTableFile(*path, bytes, error)) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("The samples could not be imported from\n%1\n\n%2\n\nNothing was changed.")
                            .arg(QDir::toNativeSeparators(*path), error),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("ImportFailed"));
        box.exec();
        return;
    }
    importTable(readTable(QByteArrayView(bytes), tableSourceForPath(*path)), QFileInfo(*path).fileName());
}

void MainWindow::importTable(const TextTable &table, const QString &source)
{
    const std::optional<ImportPlan> plan = ImportPreview::run(this, mState, table, source);
    if (!plan)
        return;
    const std::vector<int> samples = plan->sampleNumbers();
    const bool namesKeys = plan->renamesKeys();
    const bool gridHadFocus = qobject_cast<Grid *>(QApplication::focusWidget()) != nullptr;
    ApplyStatus status = ApplyStatus::Unusable;
    const bool changed = change(QStringLiteral("Import Samples"),
                                namesKeys ? EditRecorder::Scope::SamplesAndConfiguration : EditRecorder::Scope::Samples,
                                samples, [&] {
                                    status = applyImport(mState, *plan);
                                    if (status != ApplyStatus::Applied)
                                        return;
                                    if (!samples.empty())
                                        bringIntoView(mState, samples.front());
                                    fillsample(mState.topSample);
                                    // A key that takes a name colours every well
                                    // already holding it, not only the imported ones.
                                    if (namesKeys) {
                                        nameInsertEntries();
                                        fillallpic();
                                    }
                                });
    if (status == ApplyStatus::StateChanged) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("The samples changed while the preview was open, so nothing was imported. "
                                       "Import the table again to see what it would change now."),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("ImportFailed"));
        box.exec();
        return;
    }
    if (status != ApplyStatus::Applied)
        return;
    Grid *current = gridAt(std::clamp(mState.curGrid, 0, MaxFrames - 1));
    if (gridHadFocus && current->isVisible())
        current->setFocus(Qt::OtherFocusReason);
    if (!changed)
        StatusBar->setText(QStringLiteral("Nothing changed: the samples already hold what %1 gives them.").arg(source));
    else
        StatusBar->setText(QStringLiteral("%1 imported from %2.").arg(samplesCount(samples.size()), source));
}

void MainWindow::mnuEditPasteTable_Click()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text() : QString();
    if (text.isEmpty()) {
        StatusBar->setText(QStringLiteral("The clipboard holds no text: nothing was pasted."));
        return;
    }
    // A whole list copied with Copy All says which sample each line is
    // for: it goes back to those samples, through the import preview,
    // not to the current item.
    QStringView head(text);
    if (head.startsWith(u'\xFEFF'))
        head = head.sliced(1);
    if (head.startsWith(u"Filename:")) {
        importTable(readTable(QStringView(text), TableSource::Content), QStringLiteral("the clipboard"));
        return;
    }

    const PastePlan plan = planPaste(mState, text, mSelection);
    if (!plan.usable) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("Nothing was pasted:\n\n%1").arg(issueList(plan.issues, plan.issueCount)),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("PasteTableReport"));
        box.exec();
        return;
    }
    const std::vector<int> samples = plan.sampleNumbers();
    change(QStringLiteral("Paste Table"), EditRecorder::Scope::Samples, samples, [&] {
        if (applyPaste(mState, plan) == ApplyStatus::Applied)
            fillsample(mState.topSample);
    });

    const QString filled = QStringLiteral("%1 filled from the clipboard").arg(samplesCount(samples.size()));
    if (plan.cutLines > 0 || plan.cutColumns > 0 || plan.refusedCells > 0 || plan.outsideCells > 0) {
        StatusBar->setText(filled + u'.');
        QMessageBox box(QMessageBox::Information, windowTitle(),
                        QStringLiteral("%1, but not all of the table was pasted:\n\n%2")
                            .arg(filled, issueList(plan.issues, plan.issueCount)),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("PasteTableReport"));
        box.exec();
        return;
    }
    // What remains are texts stored as Save writes them: worth a word, not a box.
    if (plan.issueCount == 0)
        StatusBar->setText(filled + u'.');
    else if (plan.issueCount == 1)
        StatusBar->setText(QStringLiteral("%1; %2.").arg(filled, issueText(plan.issues.front())));
    else
        StatusBar->setText(QStringLiteral("%1; %2, and %3 more.")
                               .arg(filled, issueText(plan.issues.front())).arg(plan.issueCount - 1));
}

void MainWindow::mnuFileExportCsv_Click()
{
    exportSamples(ExportFormat::Csv);
}

void MainWindow::mnuFileExportJson_Click()
{
    exportSamples(ExportFormat::Json);
}

void MainWindow::mnuFileExportXlsx_Click()
{
    exportSamples(ExportFormat::Xlsx);
}

void MainWindow::exportSamples(ExportFormat format)
{
    struct Kind
    {
        QString extension, title, filter;
    };
    const Kind kind = format == ExportFormat::Json
        ? Kind{QStringLiteral("json"), QStringLiteral("Export Samples as JSON"), QStringLiteral("JSON File (*.json)|*.json|All Files (*.*)|*.*|")}
        : format == ExportFormat::Xlsx
        ? Kind{QStringLiteral("xlsx"), QStringLiteral("Export Samples as Workbook"), QStringLiteral("Workbook (*.xlsx)|*.xlsx|All Files (*.*)|*.*|")}
        : Kind{QStringLiteral("csv"), QStringLiteral("Export Samples as CSV"), QStringLiteral("CSV File (*.csv)|*.csv|All Files (*.*)|*.*|")};
    const int withData = samplesWithData(mState);
    const bool namesWells = format != ExportFormat::Json;
    const std::optional<ExportChoice> choice =
        ExportOptions::run(this, kind.title, withData, mState.wellCount, mExportChoice, namesWells);
    if (!choice)
        return;
    mExportChoice.allWells = choice->allWells;
    if (namesWells)
        mExportChoice.ownLetters = choice->ownLetters;
    const bool allWells = choice->allWells;

    const CommonDialogs::FileRequest request = exportRequest(mState, kind.title, kind.filter, kind.extension);
    const std::optional<QString> path = CommonDialogs::instance().showSave(this, request);
    if (!path || path->isEmpty())
        return;

    // The description as the box shows it, as Save would store it.
    const QString stored = std::exchange(mState.fileDesc, TxtFileDesc->text());
    QString reason;
    const QByteArray bytes = format == ExportFormat::Xlsx
        ? documentWorkbook(mState, allWells, &reason, choice->ownLetters)
        : exportDocument(mState, format, allWells, QLatin1String(FileHeader), choice->ownLetters);
    mState.fileDesc = stored;

    // Written beside the target and put in its place in one step: a failed
    // export leaves an earlier file of that name as it was.
    QSaveFile file(*path);
    bool written = !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    written = written && file.commit();
    if (!written) {
        if (reason.isEmpty())
            reason = file.errorString();
        file.cancelWriting();
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("The samples could not be exported to\n%1\n\n%2\n\nNothing on disk was changed.")
                            .arg(QDir::toNativeSeparators(*path), reason),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("ExportFailed"));
        box.exec();
        return;
    }
    const int count = allWells ? mState.wellCount : withData;
    StatusBar->setText(QStringLiteral("%1 exported to %2.").arg(samplesCount(std::size_t(count)),
                                                                QDir::toNativeSeparators(*path)));
}

} // namespace Tessar

#include "importpreview.h"

#include "core/document/state.h"
#include "core/plate/wellname.h"
#include "screencentre.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace Tessar {

namespace {

QLabel *textLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // File names, captions and cells are shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QTableWidget *readOnlyTable(QWidget *parent, const char *name)
{
    auto *table = new QTableWidget(parent);
    table->setObjectName(QLatin1String(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    // Nothing to pick here: a focus frame would only look like a choice.
    table->setFocusPolicy(Qt::NoFocus);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

QTableWidgetItem *item(const QString &text)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setToolTip(text);
    return cell;
}

// Greyed: what the import leaves alone.
QTableWidgetItem *quietItem(const QString &text, const QString &tip, const QPalette &palette)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setForeground(palette.color(QPalette::Disabled, QPalette::Text));
    cell->setToolTip(tip);
    return cell;
}

QString formatName(const TextTable &table)
{
    switch (table.format) {
    case TableFormat::Csv:
        return table.separator == u';' ? QStringLiteral("semicolon-separated CSV") : QStringLiteral("CSV");
    case TableFormat::Tsv:
        return QStringLiteral("tab-separated text");
    case TableFormat::CopyAll:
        return table.copyAllTitle.isEmpty() ? QStringLiteral("a Copy All text")
                                            : QStringLiteral("a Copy All text of %1").arg(table.copyAllTitle);
    case TableFormat::Workbook:
        return QStringLiteral("sheet \"%1\" of a workbook").arg(table.sheet);
    }
    return QString();
}

// Tall enough for `rows` lines (and a scroll bar under them, which a wide
// table needs), so the problems below get the rest of the dialog.
void fitHeight(QTableWidget *table, int rows)
{
    const int lines = std::max(rows, 1) * table->verticalHeader()->defaultSectionSize();
    const int height = table->horizontalHeader()->sizeHint().height() + lines + 2 * table->frameWidth()
        + table->horizontalScrollBar()->sizeHint().height();
    table->setFixedHeight(height);
}

int shownRows(const State &state)
{
    const int most = std::max(1, std::min(int(state.fieldName.size()), state.sampleTable.lastField() + 1));
    return std::clamp(state.fieldCount(), 1, most);
}

} // namespace

ImportPreview::ImportPreview(const State &state, const TextTable &table, const QString &source, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mTable(table)
    , mSource(source)
{
    setObjectName(QStringLiteral("ImportPreview"));
    setWindowTitle(QStringLiteral("Import Samples"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    mSummary = textLabel(this, "importSummary");
    QFont bold = mSummary->font();
    bold.setBold(true);
    mSummary->setFont(bold);
    layout->addWidget(mSummary);
    mOrigin = textLabel(this, "importOrigin");
    layout->addWidget(mOrigin);

    mColumnsTitle = textLabel(this, "importColumnsTitle");
    layout->addWidget(mColumnsTitle);
    mColumns = readOnlyTable(this, "importColumns");
    mColumns->setColumnCount(2);
    layout->addWidget(mColumns);

    mSamplesTitle = textLabel(this, "importSamplesTitle");
    layout->addWidget(mSamplesTitle);
    mSamples = readOnlyTable(this, "importSamples");
    layout->addWidget(mSamples);

    mProblemsTitle = textLabel(this, "importProblemsTitle");
    layout->addWidget(mProblemsTitle);
    mProblems = new QTreeWidget(this);
    mProblems->setObjectName(QStringLiteral("importProblems"));
    mProblems->setColumnCount(2);
    mProblems->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Problem")});
    mProblems->setRootIsDecorated(false);
    mProblems->setUniformRowHeights(true);
    mProblems->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(mProblems, 1);

    mNameKeys = new QCheckBox(QStringLiteral("&Give the keys without a name the key names the table uses"), this);
    mNameKeys->setObjectName(QStringLiteral("importNameKeys"));
    layout->addWidget(mNameKeys);

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("importButtons"));
    mOk = buttons->addButton(QDialogButtonBox::Ok);
    mOk->setObjectName(QStringLiteral("importOk"));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("importCancel"));
    layout->addWidget(buttons);
    connect(mOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The check box is offered only where it would name a key.
    mNameKeys->setVisible(planImport(mState, mTable, {true}).renamesKeys());
    connect(mNameKeys, &QCheckBox::toggled, this, &ImportPreview::replan);
    replan();

    // A table that cannot be imported leaves only Cancel.
    mOk->setVisible(mPlan.usable);
    (mPlan.usable ? mOk : cancel)->setDefault(true);
    resize(760, 600);
}

std::optional<ImportPlan> ImportPreview::run(QWidget *parent, const State &state, const TextTable &table,
                                             const QString &source)
{
    ImportPreview preview(state, table, source, parent);
    centreOnScreen(&preview, parent);
    if (preview.exec() != QDialog::Accepted || !preview.mPlan.usable)
        return std::nullopt;
    return std::move(preview.mPlan);
}

void ImportPreview::replan()
{
    mPlan = planImport(mState, mTable, {mNameKeys->isChecked()});
    showSummary();
    showColumns();
    showSamples();
    showProblems();
}

void ImportPreview::showSummary()
{
    QString origin = QStringLiteral("Read from %1 as %2").arg(mSource, formatName(mTable));
    if (!mTable.encoding.isEmpty())
        origin += QStringLiteral(" (%1)").arg(mTable.encoding);
    if (!mTable.blocks.empty())
        origin += mTable.blocks.size() == 1 ? QStringLiteral(", a plate-shaped grid")
                                            : QStringLiteral(", a plate-shaped grid of %1 blocks").arg(mTable.blocks.size());
    mOrigin->setText(origin + u'.');

    if (!mPlan.usable) {
        mSummary->setText(mTable.headerLine == 0
            ? QStringLiteral("This table cannot be imported: it holds nothing.")
            : QStringLiteral("This table cannot be imported: its header (line %1) has neither a \"Well\" nor a "
                             "\"Sample No.\" column, so no line says which well it is for.")
                  .arg(mTable.headerLine));
        return;
    }

    const std::vector<int> samples = mPlan.sampleNumbers();
    QString text;
    if (samples.empty()) {
        text = QStringLiteral("The table names no samples: importing it changes nothing.");
    } else {
        const QString wells = samples.size() == 1
            ? wellLabel(mState, samples.front())
            : QStringLiteral("%1 to %2").arg(wellLabel(mState, samples.front()), wellLabel(mState, samples.back()));
        const QString count = samples.size() == 1 ? QStringLiteral("1 sample")
                                                  : QStringLiteral("%1 samples").arg(samples.size());
        text = QStringLiteral("Importing fills %1 (%2). Samples the table does not name keep what they hold.")
                   .arg(count, wells);
    }
    QStringList named;
    for (int k = 1; k <= KeyCount; ++k) {
        if (!mPlan.keyNames[std::size_t(k)].isEmpty())
            named.append(QStringLiteral("key %1 \"%2\"").arg(k).arg(mPlan.keyNames[std::size_t(k)]));
    }
    if (!named.isEmpty())
        text += QStringLiteral(" New key names: %1.").arg(named.join(QStringLiteral(", ")));
    mSummary->setText(text);
}

void ImportPreview::showColumns()
{
    // A grid's blocks are listed in place of its columns, each with its lines,
    // so that each can be found in the file; where the wells are comes from
    // the grid itself.
    const bool grid = !mTable.blocks.empty();
    mColumnsTitle->setText(grid ? QStringLiteral("Where the grid's blocks go:") : QStringLiteral("Where the table's columns go:"));
    mColumns->setHorizontalHeaderLabels({grid ? QStringLiteral("Block") : QStringLiteral("Table column"), QStringLiteral("Fills")});
    const std::size_t first = grid ? 1 : 0;
    mColumns->setRowCount(int(mPlan.columns.size() - first));
    for (std::size_t i = first; i < mPlan.columns.size(); ++i) {
        const ImportColumn &column = mPlan.columns[i];
        const int row = int(i - first);
        QString name = column.name.trimmed().isEmpty() ? QStringLiteral("(column %1, no name)").arg(row + 1) : column.name;
        if (grid) {
            const GridBlock &block = mTable.blocks[i - 1];
            name = QStringLiteral("Block %1").arg(i);
            if (!block.caption.trimmed().isEmpty())
                name += QStringLiteral(" \"%1\"").arg(block.caption.trimmed());
            name += block.lastLine > block.firstLine
                ? QStringLiteral(" (lines %1 to %2)").arg(block.firstLine).arg(block.lastLine)
                : QStringLiteral(" (line %1)").arg(block.firstLine);
        }
        mColumns->setItem(row, 0, item(name));
        switch (column.role) {
        case ImportColumn::Well:
            mColumns->setItem(row, 1, item(QStringLiteral("places each line on its well")));
            break;
        case ImportColumn::SampleNumber:
            mColumns->setItem(row, 1, item(QStringLiteral("places each line on its sample number")));
            break;
        case ImportColumn::Field:
            mColumns->setItem(row, 1, item(column.field >= 0 && column.field < int(mState.fieldName.size())
                                               ? mState.fieldName[std::size_t(column.field)]
                                               : QString()));
            break;
        case ImportColumn::Unused:
            mColumns->setItem(row, 1, quietItem(QStringLiteral("not imported"),
                                                QStringLiteral("No row of a sample has this caption."), palette()));
            break;
        }
    }
    mColumns->resizeColumnToContents(0);
    mColumns->setColumnWidth(0, std::min(mColumns->columnWidth(0) + 12, 320));
    fitHeight(mColumns, std::min(mColumns->rowCount(), 8));
}

void ImportPreview::showSamples()
{
    const int rows = shownRows(mState);
    const int shown = int(std::min<std::size_t>(mPlan.samples.size(), ShownSamples));
    if (mPlan.samples.empty())
        mSamplesTitle->setText(QStringLiteral("No sample is filled."));
    else if (int(mPlan.samples.size()) > shown)
        mSamplesTitle->setText(QStringLiteral("The first %1 of %2 samples as they will be stored (grey: kept as it is):")
                                   .arg(shown).arg(mPlan.samples.size()));
    else
        mSamplesTitle->setText(QStringLiteral("The samples as they will be stored (grey: kept as it is):"));

    mSamples->setVisible(shown > 0);
    mSamples->clear();
    mSamples->setColumnCount(rows + 1);
    QStringList headers{QStringLiteral("Well")};
    for (int f = 0; f < rows; ++f)
        headers.append(mState.fieldName[std::size_t(f)]);
    mSamples->setHorizontalHeaderLabels(headers);
    mSamples->setRowCount(shown);
    const QString kept = QStringLiteral("Kept as it is: the table gives no value here.");
    for (int row = 0; row < shown; ++row) {
        const PlannedSample &planned = mPlan.samples[std::size_t(row)];
        mSamples->setItem(row, 0, item(QStringLiteral("%1 (%2)").arg(wellLabel(mState, planned.sample)).arg(planned.sample)));
        for (int f = 0; f < rows; ++f) {
            const auto given = std::find_if(planned.values.begin(), planned.values.end(),
                                            [f](const auto &value) { return value.first == f; });
            if (given != planned.values.end()) {
                mSamples->setItem(row, f + 1, item(given->second));
            } else {
                const QString now = mState.sampleTable.contains(planned.sample, f) ? mState.sampleTable(planned.sample, f)
                                                                                   : QString();
                mSamples->setItem(row, f + 1, quietItem(now, kept, palette()));
            }
        }
    }
    mSamples->resizeColumnsToContents();
    for (int c = 0; c < mSamples->columnCount(); ++c)
        mSamples->setColumnWidth(c, std::min(mSamples->columnWidth(c) + 8, 220));
    fitHeight(mSamples, ShownSamples);
}

void ImportPreview::showProblems()
{
    mProblems->clear();
    if (mPlan.issueCount == 0) {
        mProblemsTitle->setText(QStringLiteral("No problems found."));
        mProblems->hide();
        return;
    }
    mProblemsTitle->setText(mPlan.issueCount == 1 ? QStringLiteral("1 problem:")
                                                  : QStringLiteral("%1 problems:").arg(mPlan.issueCount));
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(mPlan.issues.size()));
    for (const TableIssue &issue : mPlan.issues) {
        auto *entry = new QTreeWidgetItem({issue.line > 0 ? QString::number(issue.line) : QString(), issue.reason});
        entry->setToolTip(1, issue.reason);
        entry->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        items.append(entry);
    }
    mProblems->addTopLevelItems(items);
    mProblems->resizeColumnToContents(0);
    mProblems->setColumnWidth(0, std::max(mProblems->columnWidth(0) + 12, 60));
    mProblems->show();
}

} // namespace Tessar

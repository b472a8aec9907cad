#include "tablecheck.h"

#include "readcheck.h"

#include "core/document/state.h"
#include "core/files/storedtext.h"
#include "core/tables/tableexport.h"
#include "core/tables/tableimport.h"
#include "core/tables/tablepaste.h"
#include "core/tables/tablereader.h"

#include <algorithm>
#include <exception>
#include <set>

namespace Tessar {

namespace {

int lineCount(QStringView text)
{
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            ++lines;
    }
    return lines;
}

void checkIssues(const std::vector<TableIssue> &issues, int count, int lines, const char *what, QStringList &problems)
{
    if (count < int(issues.size()) - 1 || issues.size() > std::size_t(MaxListedIssues) + 1)
        problems << QStringLiteral("%1: %2 issues listed of %3").arg(QLatin1String(what)).arg(issues.size()).arg(count);
    for (const TableIssue &issue : issues) {
        if (issue.line < 0 || issue.line > lines || issue.reason.isEmpty())
            problems << QStringLiteral("%1: issue at line %2 of %3: %4").arg(QLatin1String(what)).arg(issue.line).arg(lines).arg(issue.reason);
    }
}

// Cells that differ between two states, up to the slot after the rows in use.
std::set<std::pair<int, int>> changedCells(const State &a, const State &b)
{
    std::set<std::pair<int, int>> cells;
    const int lastField = std::min(a.sampleTable.lastField(), a.fieldCount());
    for (int s = 0; s <= a.sampleTable.lastSample(); ++s) {
        for (int f = 0; f <= lastField; ++f) {
            if (a.sampleTable(s, f) != b.sampleTable(s, f))
                cells.insert({s, f});
        }
    }
    return cells;
}

void checkImport(const State &before, const TextTable &table, bool nameKeys, QStringList &problems, int lines)
{
    const ImportPlan plan = planImport(before, table, {nameKeys});
    checkIssues(plan.issues, plan.issueCount, lines, "import", problems);
    const int nf = before.fieldCount();
    std::set<std::pair<int, int>> planned;
    for (const PlannedSample &p : plan.samples) {
        if (p.sample < 1 || p.sample > before.wellCount)
            problems << QStringLiteral("import plans sample %1 of %2").arg(p.sample).arg(before.wellCount);
        for (const auto &[field, text] : p.values) {
            if (field < 0 || field >= nf)
                problems << QStringLiteral("import plans field %1 of %2").arg(field).arg(nf);
            if (storedText(text).changes != StoredText::Unchanged)
                problems << QStringLiteral("import plans a text a sample file cannot hold: %1").arg(text.left(40));
            planned.insert({p.sample, field});
        }
    }
    if (!problems.isEmpty())
        return;

    State state = before;
    const ApplyStatus status = applyImport(state, plan);
    if (status != (plan.usable ? ApplyStatus::Applied : ApplyStatus::Unusable))
        problems << QStringLiteral("applying an import plan gave status %1").arg(int(status));
    for (const QString &p : invariantProblems(state))
        problems << QStringLiteral("after the import: %1").arg(p);
    for (const auto &cell : changedCells(before, state)) {
        if (!planned.count(cell))
            problems << QStringLiteral("the import changed sample %1 field %2, which it did not plan").arg(cell.first).arg(cell.second);
    }
    for (int k = 0; k < 7; ++k) {
        if (state.keyName[k] != before.keyName[k] && (k == 0 || !before.keyName[k].isEmpty() || !nameKeys))
            problems << QStringLiteral("the import renamed key %1").arg(k);
    }
    if (!problems.isEmpty() || status != ApplyStatus::Applied)
        return;

    // What was imported goes out as CSV and back in as it was.
    State emptied = state;
    for (int s = 1; s <= emptied.wellCount; ++s) {
        for (int f = 0; f < nf; ++f)
            emptied.sampleTable(s, f).clear();
    }
    const QByteArray csv = exportDocument(state, ExportFormat::Csv);
    const ImportPlan back = planImport(emptied, readTable(QByteArrayView(csv), TableSource::CsvFile));
    if (applyImport(emptied, back) != ApplyStatus::Applied)
        problems << QStringLiteral("the exported CSV does not import");
    for (int s = 1; s <= state.wellCount && problems.isEmpty(); ++s) {
        for (int f = 0; f < nf; ++f) {
            if (emptied.sampleTable(s, f) != state.sampleTable(s, f)) {
                problems << QStringLiteral("sample %1 field %2 went out as CSV as \"%3\" and came back as \"%4\"")
                                .arg(s).arg(f).arg(state.sampleTable(s, f).left(40), emptied.sampleTable(s, f).left(40));
                break;
            }
        }
    }
}

void checkPaste(const State &before, QStringView text, QStringList &problems, int lines)
{
    const PastePlan plan = planPaste(before, text);
    checkIssues(plan.issues, plan.issueCount, lines, "paste", problems);
    std::set<std::pair<int, int>> planned;
    for (const PasteCell &cell : plan.cells) {
        if (cell.sample < 1 || cell.sample > before.wellCount || cell.field < 0 || cell.field >= before.fieldCount())
            problems << QStringLiteral("paste plans sample %1 field %2").arg(cell.sample).arg(cell.field);
        if (storedText(cell.text).changes != StoredText::Unchanged)
            problems << QStringLiteral("paste plans a text a sample file cannot hold");
        if (cell.field == 0 && !cell.text.isEmpty()
            && std::find(before.keyName.begin() + 1, before.keyName.end(), cell.text) == before.keyName.end())
            problems << QStringLiteral("paste plans \"%1\" for a key").arg(cell.text.left(40));
        planned.insert({cell.sample, cell.field});
    }
    if (!problems.isEmpty())
        return;
    State state = before;
    applyPaste(state, plan);
    for (const QString &p : invariantProblems(state))
        problems << QStringLiteral("after the paste: %1").arg(p);
    for (const auto &cell : changedCells(before, state)) {
        if (!planned.count(cell))
            problems << QStringLiteral("the paste changed sample %1 field %2, which it did not plan").arg(cell.first).arg(cell.second);
    }
}

} // namespace

QStringList tableProblems(const QByteArray &input, int source, int start)
{
    QStringList problems;
    try {
        const State &before = cachedStart(start);
        const TableSource from = std::array{TableSource::CsvFile, TableSource::TsvFile, TableSource::Content}
            [std::size_t(std::clamp(source, 0, TableSourceCount - 1))];
        const QString text = decodeTableBytes(QByteArrayView(input));
        const int lines = lineCount(text);
        const TextTable table = readTable(QStringView(text), from);
        checkImport(before, table, false, problems, lines);
        checkImport(before, table, true, problems, lines);
        checkPaste(before, text, problems, lines);
    } catch (const std::exception &e) {
        problems << QStringLiteral("threw: %1").arg(QString::fromLocal8Bit(e.what()));
    }
    return problems;
}

} // namespace Tessar

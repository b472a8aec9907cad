#include "core/tables/tableimport.h"

#include "core/document/fingerprint.h"
#include "core/files/storedtext.h"
#include "core/document/state.h"
#include "core/plate/plategeometry.h"
#include "core/plate/wellname.h"

#include <algorithm>

namespace Tessar {

namespace {

bool sameName(QStringView a, QStringView b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Plate readers and layout tools head the well column in several ways.
bool isWellHeader(QStringView name)
{
    for (const char16_t *synonym : {u"Well", u"Wells", u"Well Position", u"Position", u"Well ID"}) {
        if (sameName(name, synonym))
            return true;
    }
    return false;
}

bool isSampleNumberHeader(QStringView name)
{
    return sameName(name, u"Sample No.") || sameName(name, u"Sample No");
}

bool isKeyHeader(const State &state, QStringView name)
{
    return sameName(name, u"Key") || (!state.fieldName[0].trimmed().isEmpty() && sameName(name, state.fieldName[0]));
}

// A short form of a cell's text for a message.
QString shown(QStringView text)
{
    text = text.trimmed();
    if (text.size() > 40)
        return text.first(37).toString() + QStringLiteral("...");
    return text.toString();
}

QString controlMessage(int count, const QString &where)
{
    if (count == 1)
        return QStringLiteral("a tab or control character in %1 is stored as a blank").arg(where);
    return QStringLiteral("%1 tabs or control characters in %2 are stored as blanks").arg(count).arg(where);
}

QString columnLabel(const ImportColumn &column, qsizetype index)
{
    if (column.name.trimmed().isEmpty())
        return QStringLiteral("column %1").arg(index + 1);
    return QStringLiteral("column \"%1\"").arg(shown(column.name));
}

class Planner
{
public:
    Planner(const State &state, const TextTable &table, const ImportOptions &options)
        : mState(state), mTable(table), mOptions(options)
    {}

    ImportPlan run()
    {
        mPlan.format = mTable.format;
        mPlan.encoding = mTable.encoding;
        mPlan.copyAllTitle = mTable.copyAllTitle;
        mPlan.fingerprint = documentFingerprint(mState);
        for (const TableIssue &issue : mTable.issues)
            addIssue(issue.line, issue.reason);

        if (mTable.headerLine == 0) {
            // Unless the reader said already why there is nothing to read.
            if (std::none_of(mTable.issues.begin(), mTable.issues.end(), [](const TableIssue &issue) { return issue.line == 0; }))
                addIssue(0, QStringLiteral("the table is empty"));
            return finish();
        }
        mapColumns();
        if (mWellColumn < 0 && mNumberColumn < 0) {
            addIssue(mTable.headerLine, QStringLiteral("the table has neither a \"Well\" nor a \"Sample No.\" column"));
            return finish();
        }
        mPlan.usable = true;
        mSampleIndex.assign(std::size_t(std::max(mState.wellCount, 0)) + 1, 0);
        reportUnusedColumns();
        if (grid()) {
            for (std::size_t i = 1; i < mPlan.columns.size(); ++i)
                planBlock(i);
            return finish();
        }
        // A header alone is no problem: it fills nothing, which the plan shows.
        for (const TextRecord &row : mTable.rows)
            planRow(row);
        return finish();
    }

private:
    ImportPlan finish()
    {
        closeIssues(mPlan.issues, mPlan.issueCount);
        return std::move(mPlan);
    }

    void addIssue(int line, const QString &reason) { Tessar::addIssue(mPlan.issues, mPlan.issueCount, line, reason); }

    bool grid() const { return !mTable.blocks.empty(); }

    // Column i of a grid's header is block i.
    const GridBlock &blockOf(std::size_t column) const { return mTable.blocks[column - 1]; }

    QString label(std::size_t index) const
    {
        if (!grid())
            return columnLabel(mPlan.columns[index], qsizetype(index));
        const QString &caption = blockOf(index).caption;
        if (caption.trimmed().isEmpty())
            return QStringLiteral("block %1").arg(index);
        return QStringLiteral("block %1 (\"%2\")").arg(index).arg(shown(caption));
    }

    void mapColumns()
    {
        const int nf = std::clamp(mState.fieldCount(), 1, int(mState.fieldName.size()));
        std::vector<bool> taken(std::size_t(nf), false);
        // A lone grid without a caption is the layout of the first row.
        const bool loneBlank = mTable.blocks.size() == 1 && mTable.blocks[0].caption.trimmed().isEmpty() && nf > 1;
        for (const QString &name : mTable.header) {
            ImportColumn column;
            column.name = name;
            const qsizetype index = qsizetype(mPlan.columns.size());
            if (mWellColumn < 0 && isWellHeader(name)) {
                column.role = ImportColumn::Well;
                mWellColumn = index;
            } else if (mNumberColumn < 0 && !grid() && isSampleNumberHeader(name)) {
                column.role = ImportColumn::SampleNumber;
                mNumberColumn = index;
            } else if (!taken[0] && isKeyHeader(mState, name)) {
                column.role = ImportColumn::Field;
                column.field = 0;
                taken[0] = true;
            } else if (loneBlank && index == 1) {
                column.role = ImportColumn::Field;
                column.field = 1;
                taken[1] = true;
            } else {
                for (int f = 1; f < nf; ++f) {
                    if (!taken[std::size_t(f)] && sameName(name, mState.fieldName[std::size_t(f)])) {
                        column.role = ImportColumn::Field;
                        column.field = f;
                        taken[std::size_t(f)] = true;
                        break;
                    }
                }
            }
            mPlan.columns.push_back(column);
        }
    }

    void reportUnusedColumns()
    {
        // Which columns hold anything, found in one pass over the cells.
        std::vector<bool> holdsValues(mPlan.columns.size(), false);
        for (const TextRecord &row : mTable.rows) {
            const qsizetype n = std::min(row.cells.size(), qsizetype(holdsValues.size()));
            for (qsizetype i = 0; i < n; ++i) {
                if (!holdsValues[std::size_t(i)] && !QStringView(row.cells[i]).trimmed().isEmpty())
                    holdsValues[std::size_t(i)] = true;
            }
        }
        // The captions in use, a few at most, so that a repeated one is told
        // from one that matches nothing; a grid's "Well" is no caption.
        std::vector<std::pair<std::size_t, QStringView>> used;
        for (std::size_t i = grid() ? 1 : 0; i < mPlan.columns.size(); ++i) {
            if (mPlan.columns[i].role != ImportColumn::Unused)
                used.emplace_back(i, mPlan.columns[i].name);
        }
        for (std::size_t i = 0; i < mPlan.columns.size(); ++i) {
            const ImportColumn &column = mPlan.columns[i];
            if (column.role != ImportColumn::Unused)
                continue;
            const QString label = this->label(i);
            const int line = grid() ? blockOf(i).firstLine : mTable.headerLine;
            const bool repeated = std::any_of(used.begin(), used.end(), [&](const auto &other) {
                return other.first < i && sameName(other.second, column.name);
            });
            if (column.name.trimmed().isEmpty()) {
                // A nameless column is only worth a word when something is
                // in it; a block always is.
                if (grid())
                    addIssue(line, label + QStringLiteral(" has no caption in its corner cell; it is not imported"));
                else if (holdsValues[i])
                    addIssue(line, label + QStringLiteral(" has no name; its values are not imported"));
            } else if (repeated || isKeyHeader(mState, column.name)
                       || (!grid() && (isWellHeader(column.name) || isSampleNumberHeader(column.name)))) {
                addIssue(line, label + QStringLiteral(" comes twice; the second is not imported"));
            } else {
                addIssue(line, label + QStringLiteral(" matches no row caption; it is not imported"));
            }
        }
    }

    // The cells of a grid's block, for the row its caption names. Cells a
    // block does not have leave their fields as they are, as a short line
    // of a table does.
    void planBlock(std::size_t index)
    {
        const ImportColumn &column = mPlan.columns[index];
        if (column.role != ImportColumn::Field)
            return;
        const GridBlock &block = blockOf(index);
        int outside = 0;
        for (const GridRow &row : block.rows) {
            for (qsizetype c = 0; c < row.cells.size(); ++c) {
                const QString &cell = row.cells[c];
                const int s = c < mState.nCols ? wellAt(mState, row.row, int(c) + 1) : 0;
                if (s == 0) {
                    outside += !QStringView(cell).trimmed().isEmpty();
                    continue;
                }
                const auto where = [&] { return QStringLiteral("well %1 of %2").arg(wellLabel(mState, s), label(index)); };
                QString text = column.field == 0 ? keyText(cell, row.line) : fieldText(cell, row.line, where);
                int &seen = mSampleIndex[std::size_t(s)];
                if (seen == 0) {
                    mPlan.samples.push_back({s, row.line, {}});
                    seen = int(mPlan.samples.size());
                }
                mPlan.samples[std::size_t(seen - 1)].values.emplace_back(column.field, std::move(text));
            }
        }
        if (outside > 0) {
            // One pass of arg(): a caption may hold a '%'.
            const bool one = outside == 1;
            const QString cells = one ? QStringLiteral("a filled cell") : QStringLiteral("%1 filled cells").arg(outside);
            const QString lastRow = standardRowName(std::clamp(mState.nRows, 1, GridMaxRows));
            addIssue(block.firstLine,
                     QStringLiteral("%1 has %2 outside the %3-well plate (rows A to %4, columns 1 to %5); %6 not imported")
                         .arg(label(index), cells, QString::number(mState.wellCount), lastRow, QString::number(mState.nCols),
                              one ? QStringLiteral("it is") : QStringLiteral("they are")));
        }
    }

    // The sample a row is for, or 0 (with the problem reported).
    int sampleOf(const TextRecord &row)
    {
        const QString wellText = mWellColumn >= 0 ? row.cells.value(mWellColumn) : QString();
        if (!wellText.trimmed().isEmpty()) {
            const int s = sampleOfWell(mState, wellText);
            if (s < 0)
                addIssue(row.line, QStringLiteral("\"%1\" is no well name; the line is skipped").arg(shown(wellText)));
            else if (s == 0)
                addIssue(row.line, QStringLiteral("well %1 is not on a %2-well plate; the line is skipped")
                                       .arg(shown(wellText), QString::number(mState.wellCount)));
            return std::max(s, 0);
        }
        const QString numberText = mNumberColumn >= 0 ? row.cells.value(mNumberColumn).trimmed() : QString();
        if (numberText.isEmpty()) {
            addIssue(row.line, QStringLiteral("no well given; the line is skipped"));
            return 0;
        }
        bool ok = false;
        const int s = numberText.toInt(&ok);
        if (!ok) {
            addIssue(row.line, QStringLiteral("\"%1\" is no sample number; the line is skipped").arg(shown(numberText)));
            return 0;
        }
        if (s < 1 || s > mState.wellCount) {
            addIssue(row.line, QStringLiteral("sample %1 is not on a %2-well plate; the line is skipped").arg(s).arg(mState.wellCount));
            return 0;
        }
        return s;
    }

    void planRow(const TextRecord &row)
    {
        if (row.isBlank()) {
            addIssue(row.line, QStringLiteral("empty line"));
            return;
        }
        const qsizetype expected = mTable.header.size();
        if (row.cells.size() > expected)
            addIssue(row.line, QStringLiteral("%1 cells where the header has %2; the extra ones are not imported")
                                   .arg(row.cells.size()).arg(expected));
        else if (row.cells.size() < expected)
            addIssue(row.line, QStringLiteral("%1 cells where the header has %2; the missing ones change nothing")
                                   .arg(row.cells.size()).arg(expected));

        const int s = sampleOf(row);
        if (s <= 0)
            return;

        PlannedSample planned;
        planned.sample = s;
        planned.line = row.line;
        planned.values.reserve(mPlan.columns.size());
        for (std::size_t i = 0; i < mPlan.columns.size() && qsizetype(i) < row.cells.size(); ++i) {
            const ImportColumn &column = mPlan.columns[i];
            if (column.role != ImportColumn::Field)
                continue;
            const QString &cell = row.cells[qsizetype(i)];
            planned.values.emplace_back(column.field, column.field == 0 ? keyText(cell, row.line)
                                                                        : fieldText(cell, row.line, [&] { return label(i); }));
        }

        int &seen = mSampleIndex[std::size_t(s)];
        if (seen > 0) {
            PlannedSample &earlier = mPlan.samples[std::size_t(seen - 1)];
            addIssue(row.line, QStringLiteral("well %1 was already given on line %2; this line replaces it")
                                   .arg(wellLabel(mState, s)).arg(earlier.line));
            earlier = std::move(planned);
            return;
        }
        mPlan.samples.push_back(std::move(planned));
        seen = int(mPlan.samples.size());
    }

    // `where` names the cell for a message, made only when one is needed.
    template<typename Where>
    QString fieldText(const QString &cell, int line, const Where &where)
    {
        StoredText stored = storedText(cell);
        if (stored.changes == StoredText::Unchanged)
            return std::move(stored.text);
        const QString label = where();
        if (stored.changes & StoredText::Quote)
            addIssue(line, QStringLiteral("a double quote in %1 is stored as an apostrophe").arg(label));
        if (stored.changes & StoredText::LineBreak)
            addIssue(line, QStringLiteral("a line break in %1 is stored as a blank").arg(label));
        if (stored.changes & StoredText::OutsideCodePage)
            addIssue(line, QStringLiteral("%1 holds characters a sample file cannot store; each is stored as \"?\"").arg(label));
        if (stored.changes & StoredText::Control)
            addIssue(line, controlMessage(stored.controls, label));
        return std::move(stored.text);
    }

    QString keyText(const QString &cell, int line)
    {
        // Matched, and given to a free key, as it would be stored, so that
        // what is stored matches the same key when it comes back, wherever
        // in the table it stands. A cell of blanks is as empty to the eye as
        // an empty one, and so is one of tabs and control characters.
        StoredText stored = storedText(cell);
        const QString name = stored.text.trimmed();
        if (name.isEmpty())
            return {};
        for (int k = 1; k <= KeyCount; ++k) {
            if (stored.text == keyNameAfterImport(k))
                return std::move(stored.text);
        }
        for (int k = 1; k <= KeyCount; ++k) {
            const QString &known = keyNameAfterImport(k);
            if (!known.isEmpty() && sameName(name, known))
                return known;
        }
        if (mOptions.nameFreeKeys) {
            for (int k = 1; k <= KeyCount; ++k) {
                if (keyNameAfterImport(k).isEmpty()) {
                    mPlan.keyNames[std::size_t(k)] = name;
                    return name;
                }
            }
            addIssue(line, QStringLiteral("key \"%1\" matches no key and no key is left to take its name; it is stored as written")
                               .arg(shown(name)));
        } else {
            addIssue(line, QStringLiteral("key \"%1\" matches no key name; it is stored as written").arg(shown(name)));
        }
        // Without the blanks around it, as the key it may be given later
        // in the table will be named.
        return name;
    }

    const QString &keyNameAfterImport(int k) const
    {
        const QString &named = mPlan.keyNames[std::size_t(k)];
        return named.isEmpty() ? mState.keyName[std::size_t(k)] : named;
    }

    const State &mState;
    const TextTable &mTable;
    const ImportOptions mOptions;
    ImportPlan mPlan;
    qsizetype mWellColumn = -1;
    qsizetype mNumberColumn = -1;
    std::vector<int> mSampleIndex;  // per sample: 1 + its entry in mPlan.samples, 0 for none
};

} // namespace

bool ImportPlan::renamesKeys() const
{
    return std::any_of(keyNames.begin(), keyNames.end(), [](const QString &name) { return !name.isEmpty(); });
}

std::vector<int> ImportPlan::sampleNumbers() const
{
    std::vector<int> numbers;
    numbers.reserve(samples.size());
    for (const PlannedSample &planned : samples)
        numbers.push_back(planned.sample);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

ImportPlan planImport(const State &state, const TextTable &table, const ImportOptions &options)
{
    return Planner(state, table, options).run();
}

ApplyStatus applyImport(State &state, const ImportPlan &plan)
{
    if (!plan.usable)
        return ApplyStatus::Unusable;
    if (plan.fingerprint != documentFingerprint(state))
        return ApplyStatus::StateChanged;
    for (const PlannedSample &planned : plan.samples) {
        for (const auto &[field, text] : planned.values) {
            if (state.sampleTable.contains(planned.sample, field))
                state.sampleTable(planned.sample, field) = text;
        }
    }
    for (int k = 1; k <= KeyCount; ++k) {
        if (!plan.keyNames[std::size_t(k)].isEmpty())
            state.keyName[std::size_t(k)] = plan.keyNames[std::size_t(k)];
    }
    return ApplyStatus::Applied;
}

void shapeForTable(State &state, const TextTable &table)
{
    QStringList captions;
    bool well = false, number = false, key = false;
    for (const QString &name : table.header) {
        if (!well && isWellHeader(name))
            well = true;
        else if (!number && isSampleNumberHeader(name))
            number = true;
        else if (!key && isKeyHeader(state, name))
            key = true;
        else if (!name.trimmed().isEmpty() && captions.size() < MaxFields - 1)
            captions.append(storedText(name.trimmed()).text);
    }
    if (captions.isEmpty())
        return;
    state.numField = float(captions.size() + 1);
    for (qsizetype f = 0; f < captions.size(); ++f)
        state.fieldName[std::size_t(f + 1)] = captions[f];
    state.curRow = std::clamp(state.curRow, 0, state.fieldCount() - 1);
}

void addIssue(std::vector<TableIssue> &issues, int &count, int line, const QString &reason)
{
    ++count;
    if (issues.size() < std::size_t(MaxListedIssues))
        issues.push_back({line, reason});
}

void closeIssues(std::vector<TableIssue> &issues, int count)
{
    std::stable_sort(issues.begin(), issues.end(), [](const TableIssue &a, const TableIssue &b) { return a.line < b.line; });
    if (count > qsizetype(issues.size()))
        issues.push_back({0, QStringLiteral("%1 more problems not listed").arg(count - qsizetype(issues.size()))});
}

} // namespace Tessar

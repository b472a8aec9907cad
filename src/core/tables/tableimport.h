// The tables wing: CSV, TSV and Copy All text split, imported, exported and pasted.
#pragma once

#include "core/tables/tablereader.h"

#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace Tessar {

struct State;

// Import of a table into the open document, in two steps: planImport()
// works out what the table would change and everything wrong with it,
// changing nothing; applyImport() then carries the plan out. Between the two
// a window can show the plan and the command can be recorded for undo.
//
// Rules the plan follows:
//  - wells are found by a "Well" column (also "Wells", "Well Position",
//    "Position" or "Well ID"; A1, a01, B 12, AA1 for row 27) or, failing that, a
//    "Sample No." column; other columns fill the row whose caption they
//    name, case and surrounding blanks aside, the first unused such row when
//    two rows share a caption; "Key" (or the key row's caption) fills the key
//    row;
//  - a key is given by its name: an exact match first, else the one key whose
//    name matches case and blanks aside (the key's own spelling is stored);
//  - an empty cell clears its field; a column the table lacks, or a cell
//    missing from a short row, leaves the field as it was; samples the table
//    does not name keep everything;
//  - every text is stored as Save would write it (see storedText()), and
//    each change of that kind is reported;
//  - when a well comes twice, its last line counts.
//  - a plate-shaped grid (see readPlateGrid()) is read block by block, each
//    block standing for a column captioned as its corner cell: its cells
//    fill their wells, a cell the block lacks leaves its field, and a lone
//    block with nothing in its corner fills the first description row.

struct ImportOptions
{
    // Key names that match no key are given to the keys without a name, in
    // the order the table first uses them. Without this such names are
    // stored as written, as a key that was renamed leaves them.
    bool nameFreeKeys = false;
};

struct ImportColumn
{
    enum Role {
        Unused,         // matches nothing, or repeats a column already used
        Well,
        SampleNumber,
        Field,          // fills row `field` (0 = the key row)
    };

    QString name;       // the header cell as written
    Role role = Unused;
    int field = -1;
};

struct PlannedSample
{
    int sample = 0;
    int line = 0;       // the table line it comes from
    std::vector<std::pair<int, QString>> values;    // field, text as stored
};

struct ImportPlan
{
    TableFormat format = TableFormat::Csv;
    QString encoding;
    QString copyAllTitle;
    std::vector<ImportColumn> columns;  // one per header cell
    std::vector<PlannedSample> samples; // in table order, one per sample
    std::array<QString, 7> keyNames;    // non-empty: key k takes this name

    // Every problem, in line order. Long lists are cut at MaxListedIssues;
    // issueCount counts them all.
    std::vector<TableIssue> issues;
    int issueCount = 0;

    // False when the table cannot be imported at all (no header, no column
    // that places a sample); issues say why.
    bool usable = false;

    quint64 fingerprint = 0;    // of the document the plan was made for

    bool hasProblems() const { return issueCount > 0; }
    bool renamesKeys() const;
    // The samples the plan writes, in increasing order.
    std::vector<int> sampleNumbers() const;
};

inline constexpr int MaxListedIssues = 1000;

// How a plan keeps its problems: every one counted in `count`, the first
// MaxListedIssues listed; once the plan is made, the list is put in line
// order and says how many more there were.
void addIssue(std::vector<TableIssue> &issues, int &count, int line, const QString &reason);
void closeIssues(std::vector<TableIssue> &issues, int count);

ImportPlan planImport(const State &state, const TextTable &table, const ImportOptions &options = {});

enum class ApplyStatus {
    Applied,
    Unusable,       // the plan cannot be applied (see its issues)
    StateChanged,   // the document is no longer the one the plan was made for
};

// Carries out a plan made for exactly this document: writes the planned
// samples' fields and names the free keys the plan names. Anything else,
// including refusal, changes nothing.
ApplyStatus applyImport(State &state, const ImportPlan &plan);

// For a document started from a table: its description rows become the
// table's columns, in table order (up to the nine a sample can have), named
// as the header names them. The well, sample number and key columns make no
// row. A table without such columns leaves the rows as they are.
void shapeForTable(State &state, const TextTable &table);

} // namespace Tessar

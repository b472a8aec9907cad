#pragma once

#include "core/document/state.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace Tessar {

// One cell's text before and after a change.
struct CellChange
{
    int sample = 0;
    int field = 0;
    QString before;
    QString after;
};

// What Configure and Colour change: the rows, their captions, the key
// names and colours, and the company.
struct Configuration
{
    float numField = 0.0f;
    std::array<QString, 11> fieldName;
    std::array<QString, 7> keyName;
    std::array<Colour, 7> keyColor{};
    QString company;

    bool operator==(const Configuration &) const = default;
};

Configuration configurationOf(const State &state);
void applyConfiguration(State &state, const Configuration &configuration);

// The whole document as New, Open and Well Size leave it behind: enough to
// bring it back exactly, with its file name, plate format and colours. The
// cells are packed into one buffer, which keeps a long history of replaced
// documents small.
struct DocumentImage
{
    Configuration configuration;
    int wellCount = 0;
    QString filePath;
    QString fileTitle;
    QString fileDesc;
    int topSample = 1;
    int curGrid = 0;
    int curRow = 0;
    QByteArray cells;   // the cells that hold text, packed

    // Bytes held, for keeping the history's memory in bounds.
    qsizetype size() const;
};

DocumentImage captureDocument(const State &state);
// Whether two images hold the same document, wherever the list was scrolled.
bool sameDocument(const DocumentImage &a, const DocumentImage &b);
// Lays the plate out again when the image's format differs, so the table
// always fits the cells brought back.
void restoreDocument(State &state, const DocumentImage &image);

// One step of the history: what a command changed, to be undone and redone.
// Only the parts a command touched are held.
struct DocumentEdit
{
    std::vector<CellChange> cells;
    std::optional<std::pair<Configuration, Configuration>> configuration;   // before, after
    std::optional<std::pair<DocumentImage, DocumentImage>> document;       // before, after

    bool isEmpty() const { return cells.empty() && !configuration && !document; }

    void undo(State &state) const;
    void redo(State &state) const;

    // Takes a later step on top of this one, as one step: the earliest
    // "before" and the latest "after" of every part. Cells that end as they
    // began drop out. False, changing nothing, when either step replaced
    // the whole document.
    bool absorb(const DocumentEdit &later);

    // The samples whose cells changed, in increasing order.
    std::vector<int> samples() const;

    qsizetype size() const;
};

// Watches the part of the state a command may change while the command
// runs, and says afterwards what it did change. Commands keep their own
// logic; the recorder only compares.
class EditRecorder
{
public:
    enum class Scope {
        Samples,        // the listed samples' cells
        AllSamples,     // every cell of the table
        Configuration,  // captions, key names and colours, rows, company
        SamplesAndConfiguration,   // both: an import that also names keys
        Document,       // everything: the document is replaced
    };

    EditRecorder(const State &state, Scope scope, std::vector<int> samples = {});

    DocumentEdit finish(const State &state) const;

private:
    struct Cell
    {
        int sample;
        int field;
        QString text;
    };

    Scope mScope;
    std::vector<Cell> mCells;
    std::optional<Configuration> mConfiguration;
    std::optional<DocumentImage> mDocument;
};

} // namespace Tessar

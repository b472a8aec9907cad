// The editing wing: typing, the Edit and Insert commands, Find, and the steps the history keeps.
#pragma once

#include <QChar>
#include <QString>

#include <array>

namespace Tessar {

struct State;

// The decisions behind typing into the sample grids and the Edit and Insert
// menus, kept free of widgets so the main window only has to show them.
// Every function checks its indexes against the table: a frame past the end
// of the plate, a stale row or a key number out of range changes nothing.

// Rows per sample as the loops over a sample's rows may use them: the
// configured count, kept inside the caption list and the table.
int usedRows(const State &state);

// ---- The current item -----------------------------------------------------

// The sample the Edit and Insert commands act on: the one in the frame
// last clicked.
int currentSample(const State &state);

// Edit > Copy: the current item goes to the program's own one-item store.
// False when there is no current item (the store is left alone).
bool copyItem(State &state);

// Edit > Paste and Edit > Delete: the current item becomes the stored text,
// or empty.
bool pasteItem(State &state);
bool deleteItem(State &state);

// Edit > Delete All: the key, every description field and the one slot
// after them, so a later increase of rows per sample finds that row empty.
bool deleteAllItems(State &state);

// Insert > Operator k (1 to 6): the current sample takes key k's name. A key
// without a name thus takes the sample's key away.
bool insertKey(State &state, int key);

// ---- Fill Down ------------------------------------------------------------

// The counts offered by both Fill Down submenus, for menu indexes 1 to 7.
inline constexpr std::array<int, 7> FillCounts{1, 2, 5, 10, 20, 30, 40};

// The count of a menu index, or 0 for an index outside 1 to 7.
int fillCount(int index);

// The menu caption of an index: "1 Sample", "2 Samples", ...; empty outside 1 to 7.
QString fillCaption(int index);

// The wells a fill changed, to be redrawn one by one. The fill draws them
// all as the source looks (with or without data), not as each target does.
struct FillResult
{
    int first = 0;      // first target sample
    int last = -1;      // last target sample; last < first when nothing changed
    bool hasData = false;

    bool isEmpty() const { return last < first; }
};

// Fill Down this item: the current item is copied into the next `count`
// samples, never beyond the plate's last sample. A target without a key
// takes the source's key; a target with a key keeps it.
FillResult fillDownItem(State &state, int count);

// Fill Down all information: every row of the current sample, key included
// and empty texts too, overwrites the next `count` samples.
FillResult fillDownAll(State &state, int count);

// ---- Copy All -------------------------------------------------------------

// The clipboard text of Edit > Copy All: the file name, a caption line and
// one line per sample that holds information, every value followed by a tab
// and every line ending in CR LF, ready to paste into a spreadsheet.
QString copyAllText(const State &state);

// ---- Typing into a grid ---------------------------------------------------

// Whether a typed character goes into a description field. Only printable
// ASCII is taken, and not the double quote: the sample file has no way to
// hold one.
bool isTypable(QChar c);

// Typing c into row `row` of the grid in frame `frame`: appends it to the
// field. False (nothing changed) for the key row, a refused character or a
// cell outside the table.
bool typeCharacter(State &state, int frame, int row, QChar c);

// Backspace: removes the last character. False for the key row or an empty field.
bool eraseLastCharacter(State &state, int frame, int row);

// The Delete key on a cell: empties it. False for the key row.
bool eraseCell(State &state, int frame, int row);

// Ctrl+Enter moves a grid's row to that of the next grid; the last grid has
// no next one and the key then does nothing. Returns the next frame, or -1.
int lineFeedPartner(int frame);

// ---- Moving through the samples -------------------------------------------

enum class ScrollKey { PageUp, PageDown, Home, End };

// The sample for the first frame after a paging key. Page Up and Page Down
// move by one sample; End shows the last full set of frames. The result is
// always a valid scroll position, 1 to wellCount.
int scrolledTop(const State &state, ScrollKey key);

// Where Enter or Tab on row `row` of frame `frame` goes next.
struct Advance
{
    int topSample = 1;      // the sample for the first frame afterwards
    int frame = 0;          // the grid whose row changes
    int row = 0;            // its new current row
    bool moveFocus = false; // the focus goes to `frame`
    bool refill = false;    // topSample changed: refill the frames and the scroll bar
};

// The next field of the sample; after its last field the first description
// field of the next frame; after the last frame one page of samples on, or
// back to sample 1 when no full page is left.
Advance advance(const State &state, int frame, int row);

} // namespace Tessar

// The files wing: sample files read and written, saving in one step, kept copies and recovery files.
#pragma once

#include <QByteArray>
#include <QString>

namespace Tessar {

struct State;

inline constexpr char FileHeader[] = "Corvant Tessar Version 5.1";
inline constexpr char OlderFileHeader[] = "Corvant Tessar Version 5.00";

// How a read ended. A read that fails part-way leaves the document holding
// everything read up to the fault; the windows carry on with that, the
// command-line tool reports it.
struct ReadResult
{
    enum Status {
        Complete,       // the whole file was read
        Unrecognised,   // the first line is no known header: document emptied, configuration kept
        Failed,         // stopped at `line` for `reason`
    };

    Status status = Complete;
    int line = 0;       // 1-based line of the fault; 0 when the file could not be opened
    QString reason;
    QString header;     // the file's first value, as read

    bool ok() const { return status == Complete; }
};

// Replaces the document with the content of state.filePath.
//
// A file of another plate format lays the plate out for that format before
// its samples are stored. However broken the file, the state keeps its
// invariants afterwards: values the document cannot hold end the read at
// their line instead of reaching it.
ReadResult ReadSampleFile(State &state);

// The same, from bytes already in memory.
ReadResult readSampleData(State &state, const QByteArray &data);

// How a write ended. `changedValues` counts the texts that the file format
// cannot hold as they are (see sampleFileBytes). `keptCopy` names the copy
// of the earlier file when writing over it in place failed (see saveFile).
struct WriteResult
{
    bool ok = true;
    QString error;
    QString keptCopy;
    int changedValues = 0;
};

// The document as the bytes of a sample file.
//
// The format has no escape character, so a text is stored in a form that
// reads back as written: a double quote becomes an apostrophe, a line break
// a blank, and a character outside the Windows-1252 code page a question
// mark. changedValues, when given, counts the texts so altered.
QByteArray sampleFileBytes(const State &state, int *changedValues = nullptr);

// Writes the document to state.filePath through saveFile: in one step where
// that keeps the file's owner, group and links, else in place after keeping
// a copy of the earlier file in keptCopyFolder().
WriteResult WriteSampleFile(const State &state);

} // namespace Tessar

#include "core/editing/editstep.h"

#include "core/plate/plategeometry.h"

#include <algorithm>
#include <cstring>

namespace Tessar {

namespace {

// Packed cells start with a sample number, which is never negative: this
// mark cannot be mistaken for one.
const QByteArray Compressed = QByteArrayLiteral("\xff\xff\xff\xffZ");
constexpr qsizetype CompressFrom = 16 * 1024;

// The rows a sample can hold text in: the configured rows plus the one
// slot after them that Delete All, Fill Down All and a drag also carry.
int lastRecordedField(const State &state)
{
    return std::min(state.sampleTable.lastField(), MaxFields);
}

void appendInt(QByteArray &out, qint32 value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

qint32 readInt(const char *&at)
{
    qint32 value;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return value;
}

// The cells that hold text, as sample, field and UTF-8 text one after the
// other; a big table is compressed too, since a lab's texts repeat a lot.
QByteArray packCells(const State &state)
{
    QByteArray out;
    const SampleTable &table = state.sampleTable;
    if (!table.isDimensioned())
        return out;
    for (int s = 0; s <= table.lastSample(); ++s) {
        for (int f = 0; f <= table.lastField(); ++f) {
            const QString &text = table(s, f);
            if (text.isEmpty())
                continue;
            const QByteArray utf8 = text.toUtf8();
            appendInt(out, s);
            appendInt(out, f);
            appendInt(out, qint32(utf8.size()));
            out.append(utf8);
        }
    }
    if (out.size() > CompressFrom)
        return Compressed + qCompress(out, 1);
    out.squeeze();
    return out;
}

void unpackCells(State &state, const QByteArray &packed)
{
    const QByteArray cells = packed.startsWith(Compressed) ? qUncompress(packed.mid(Compressed.size())) : packed;
    const char *at = cells.constData();
    const char *end = at + cells.size();
    constexpr qsizetype Head = 3 * sizeof(qint32);
    while (end - at >= Head) {
        const int s = readInt(at);
        const int f = readInt(at);
        const qsizetype length = readInt(at);
        if (length < 0 || end - at < length)
            return;
        if (state.sampleTable.contains(s, f))
            state.sampleTable(s, f) = QString::fromUtf8(at, length);
        at += length;
    }
}

qsizetype textBytes(const QString &text)
{
    return text.capacity() * qsizetype(sizeof(QChar));
}

} // namespace

Configuration configurationOf(const State &state)
{
    Configuration c;
    c.numField = state.numField;
    c.fieldName = state.fieldName;
    c.keyName = state.keyName;
    c.keyColor = state.keyColor;
    c.company = state.company;
    return c;
}

void applyConfiguration(State &state, const Configuration &c)
{
    state.numField = c.numField;
    state.fieldName = c.fieldName;
    state.keyName = c.keyName;
    state.keyColor = c.keyColor;
    state.company = c.company;
    state.curRow = std::clamp(state.curRow, 0, std::max(state.fieldCount() - 1, 0));
}

qsizetype DocumentImage::size() const
{
    return qsizetype(sizeof(DocumentImage)) + cells.capacity();
}

DocumentImage captureDocument(const State &state)
{
    DocumentImage image;
    image.configuration = configurationOf(state);
    image.wellCount = state.wellCount;
    image.filePath = state.filePath;
    image.fileTitle = state.fileTitle;
    image.fileDesc = state.fileDesc;
    image.topSample = state.topSample;
    image.curGrid = state.curGrid;
    image.curRow = state.curRow;
    image.cells = packCells(state);
    return image;
}

bool sameDocument(const DocumentImage &a, const DocumentImage &b)
{
    return a.configuration == b.configuration && a.wellCount == b.wellCount && a.filePath == b.filePath
        && a.fileTitle == b.fileTitle && a.fileDesc == b.fileDesc && a.cells == b.cells;
}

void restoreDocument(State &state, const DocumentImage &image)
{
    const int wells = isPlateFormat(image.wellCount) ? image.wellCount : state.wellCount;
    if (wells != state.wellCount || !state.sampleTable.isDimensioned()) {
        state.wellCount = wells;
        spotcoords(state, wells);
    } else {
        state.sampleTable.clear();
    }
    state.moveSample = 0;
    applyConfiguration(state, image.configuration);
    state.filePath = image.filePath;
    state.fileTitle = image.fileTitle;
    state.fileDesc = image.fileDesc;
    unpackCells(state, image.cells);
    state.topSample = std::clamp(image.topSample, 1, std::max(state.wellCount, 1));
    state.curGrid = std::clamp(image.curGrid, 0, MaxFrames - 1);
    state.curRow = std::clamp(image.curRow, 0, std::max(state.fieldCount() - 1, 0));
}

void DocumentEdit::undo(State &state) const
{
    if (document) {
        restoreDocument(state, document->first);
        return;
    }
    if (configuration)
        applyConfiguration(state, configuration->first);
    for (auto change = cells.rbegin(); change != cells.rend(); ++change) {
        if (state.sampleTable.contains(change->sample, change->field))
            state.sampleTable(change->sample, change->field) = change->before;
    }
}

void DocumentEdit::redo(State &state) const
{
    if (document) {
        restoreDocument(state, document->second);
        return;
    }
    if (configuration)
        applyConfiguration(state, configuration->second);
    for (const CellChange &change : cells) {
        if (state.sampleTable.contains(change.sample, change.field))
            state.sampleTable(change.sample, change.field) = change.after;
    }
}

bool DocumentEdit::absorb(const DocumentEdit &later)
{
    // A replaced document is a step of its own.
    if (document || later.document)
        return false;
    if (later.configuration) {
        if (configuration)
            configuration->second = later.configuration->second;
        else
            configuration = later.configuration;
        if (configuration->first == configuration->second)
            configuration.reset();
    }
    for (const CellChange &change : later.cells) {
        auto same = std::find_if(cells.begin(), cells.end(), [&](const CellChange &c) {
            return c.sample == change.sample && c.field == change.field;
        });
        if (same == cells.end())
            cells.push_back(change);
        else
            same->after = change.after;
    }
    std::erase_if(cells, [](const CellChange &c) { return c.before == c.after; });
    return true;
}

std::vector<int> DocumentEdit::samples() const
{
    std::vector<int> result;
    result.reserve(cells.size());
    for (const CellChange &change : cells)
        result.push_back(change.sample);
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

qsizetype DocumentEdit::size() const
{
    qsizetype bytes = qsizetype(sizeof(DocumentEdit));
    for (const CellChange &change : cells)
        bytes += qsizetype(sizeof(CellChange)) + textBytes(change.before) + textBytes(change.after);
    if (configuration)
        bytes += 2 * qsizetype(sizeof(Configuration));
    if (document)
        bytes += document->first.size() + document->second.size();
    return bytes;
}

EditRecorder::EditRecorder(const State &state, Scope scope, std::vector<int> samples)
    : mScope(scope)
{
    switch (scope) {
    case Scope::Document:
        mDocument = captureDocument(state);
        return;
    case Scope::Configuration:
        mConfiguration = configurationOf(state);
        return;
    case Scope::SamplesAndConfiguration:
        mConfiguration = configurationOf(state);
        std::sort(samples.begin(), samples.end());
        samples.erase(std::unique(samples.begin(), samples.end()), samples.end());
        break;
    case Scope::AllSamples:
        samples.clear();
        for (int s = 0; s <= state.sampleTable.lastSample(); ++s)
            samples.push_back(s);
        break;
    case Scope::Samples:
        std::sort(samples.begin(), samples.end());
        samples.erase(std::unique(samples.begin(), samples.end()), samples.end());
        break;
    }
    const int lastField = lastRecordedField(state);
    mCells.reserve(samples.size() * std::size_t(lastField + 1));
    for (const int s : samples) {
        for (int f = 0; f <= lastField; ++f) {
            if (state.sampleTable.contains(s, f))
                mCells.push_back({s, f, state.sampleTable(s, f)});
        }
    }
}

DocumentEdit EditRecorder::finish(const State &state) const
{
    DocumentEdit edit;
    if (mDocument) {
        DocumentImage after = captureDocument(state);
        edit.document = std::make_pair(*mDocument, std::move(after));
        return edit;
    }
    if (mConfiguration) {
        Configuration after = configurationOf(state);
        if (!(after == *mConfiguration))
            edit.configuration = std::make_pair(*mConfiguration, std::move(after));
    }
    for (const Cell &cell : mCells) {
        if (!state.sampleTable.contains(cell.sample, cell.field))
            continue;
        const QString &now = state.sampleTable(cell.sample, cell.field);
        // Equal texts that still share their data are the common case.
        if (now.isSharedWith(cell.text) || now == cell.text)
            continue;
        edit.cells.push_back({cell.sample, cell.field, cell.text, now});
    }
    return edit;
}

} // namespace Tessar

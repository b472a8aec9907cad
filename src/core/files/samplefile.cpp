#include "core/files/samplefile.h"

#include "core/files/cp1252.h"
#include "core/files/filesave.h"
#include "core/files/keptcopy.h"
#include "core/document/numbers.h"
#include "core/plate/plategeometry.h"
#include "core/document/state.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace Tessar {

namespace {

// Nothing the program writes comes near this; a bigger file is not ours.
constexpr qint64 MaxFileSize = qint64(256) * 1024 * 1024;

// Reads the values of a sample file one after another. A value is a quoted
// text (ending at the next quote on its line, the rest of the line up to a
// comma skipped) or a bare one (ending at a comma or the line end, trailing
// blanks dropped). Files we write hold one value per line.
class ValueReader
{
public:
    explicit ValueReader(QByteArrayView data)
        : mPos(data.data()), mEnd(data.data() + data.size())
    {}

    struct Value
    {
        QByteArrayView bytes;
        int line = 0;
    };

    bool next(Value &value)
    {
        if (mPos == mEnd)
            return false;
        value.line = mLine;
        while (mPos != mEnd && (*mPos == ' ' || *mPos == '\t'))
            ++mPos;
        if (mPos != mEnd && *mPos == '"') {
            const char *start = ++mPos;
            while (mPos != mEnd && *mPos != '"' && !isLineEnd(*mPos))
                ++mPos;
            value.bytes = QByteArrayView(start, mPos - start);
            if (mPos != mEnd && *mPos == '"')
                ++mPos;
            while (mPos != mEnd && *mPos != ',' && !isLineEnd(*mPos))
                ++mPos;
        } else {
            const char *start = mPos;
            while (mPos != mEnd && *mPos != ',' && !isLineEnd(*mPos))
                ++mPos;
            const char *stop = mPos;
            while (stop != start && (stop[-1] == ' ' || stop[-1] == '\t'))
                --stop;
            value.bytes = QByteArrayView(start, stop - start);
        }
        skipDelimiter();
        return true;
    }

    int line() const { return mLine; }

private:
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

    void skipDelimiter()
    {
        if (mPos == mEnd)
            return;
        if (*mPos == ',') {
            ++mPos;
            return;
        }
        // CR LF, a lone LF or a lone CR each end one line.
        const bool carriageReturn = *mPos == '\r';
        ++mPos;
        if (carriageReturn && mPos != mEnd && *mPos == '\n')
            ++mPos;
        ++mLine;
    }

    const char *mPos;
    const char *mEnd;
    int mLine = 1;
};

// The start of a value, for a message about it.
QString excerpt(QByteArrayView bytes)
{
    return decodeCp1252(bytes.first(std::min<qsizetype>(bytes.size(), 40)));
}

// Thrown to end a read at the value that cannot be taken.
struct ReadFault
{
    int line;
    QString reason;
};

class Reader
{
public:
    Reader(State &state, QByteArrayView data) : mState(state), mValues(data) {}

    ReadResult run()
    {
        ReadResult result;
        try {
            result.header = text();
            if (result.header != QLatin1String(FileHeader)
                && result.header != QLatin1String(OlderFileHeader)) {
                result.status = ReadResult::Unrecognised;
                result.line = 1;
                result.reason = QStringLiteral("not a sample file");
                return result;
            }
            readDocument();
        } catch (const ReadFault &fault) {
            result.status = ReadResult::Failed;
            result.line = fault.line;
            result.reason = fault.reason;
        }
        return result;
    }

private:
    ValueReader::Value value(const char *what)
    {
        ValueReader::Value v;
        if (!mValues.next(v))
            throw ReadFault{mValues.line(), QStringLiteral("file ends where %1 should be").arg(QLatin1String(what))};
        return v;
    }

    QString text(const char *what = "a text")
    {
        return decodeCp1252(value(what).bytes);
    }

    // A whole number in [low, high], written in decimal; a fraction rounds
    // half to even.
    qint64 integer(const char *what, qint64 low, qint64 high)
    {
        const ValueReader::Value v = value(what);
        const QByteArrayView bytes = v.bytes;
        double number = 0;
        const char *first = bytes.data();
        const char *last = first + bytes.size();
        if (first != last && *first == '+')
            ++first;
        const auto [end, error] = std::from_chars(first, last, number, std::chars_format::fixed);
        if (bytes.isEmpty() || error != std::errc() || end != last || !std::isfinite(number))
            throw ReadFault{v.line, QStringLiteral("%1 expected, found \"%2\"")
                                        .arg(QLatin1String(what), excerpt(bytes))};
        const double rounded = std::nearbyint(number);
        if (rounded < double(low) || rounded > double(high))
            throw ReadFault{v.line, QStringLiteral("%1 %2 is out of range").arg(QLatin1String(what)).arg(rounded, 0, 'f', 0)};
        return qint64(rounded);
    }

    void readDocument()
    {
        State &s = mState;
        s.fileDesc = text();

        // The row count is taken from the number its line starts with; the
        // document can only hold whole counts from 2 to 10.
        const ValueReader::Value rows = value("the number of rows per sample");
        const double numField = float(leadingNumber(decodeCp1252(rows.bytes)));
        if (numField != std::trunc(numField) || numField < MinFields || numField > MaxFields)
            throw ReadFault{rows.line, QStringLiteral("rows per sample must be a whole number from %1 to %2, found \"%3\"")
                                           .arg(MinFields).arg(MaxFields).arg(excerpt(rows.bytes))};
        s.numField = float(numField);
        // The current row must stay inside the rows a sample now has, even
        // if the read stops on the very next line.
        s.curRow = std::clamp(s.curRow, 0, s.fieldCount() - 1);

        s.company = text();

        const int line = mValues.line();
        const int wells = int(integer("the plate format", -32768, 32767));
        if (!isPlateFormat(wells))
            throw ReadFault{line, QStringLiteral("plate format %1 is not one of 24, 48, 96, 384, 1536").arg(wells)};
        if (wells != s.wellCount || !s.sampleTable.isDimensioned()) {
            s.wellCount = wells;
            spotcoords(s, wells);
            s.topSample = std::clamp(s.topSample, 1, wells);
            s.moveSample = 0;
        }

        const int nf = s.fieldCount();
        for (int f = 0; f < nf; ++f)
            s.fieldName[std::size_t(f)] = text("a row caption");
        for (Colour &colour : s.keyColor)
            colour = Colour(qint32(integer("a colour", std::numeric_limits<qint32>::min(),
                                           std::numeric_limits<qint32>::max())));
        for (QString &name : s.keyName)
            name = text("a key name");

        for (;;) {
            const int line = mValues.line();
            const int sample = int(integer("a sample number", -32768, 32767));
            if (sample < 0)
                break;
            // Every slot of the table is stored and read on: the frames past
            // the last well can be typed into, and a file may carry more.
            // Only a number beyond the table ends the read.
            if (sample > s.sampleTable.lastSample())
                throw ReadFault{line, QStringLiteral("sample %1 is beyond slot %2, the last of a %3-well plate")
                                          .arg(sample).arg(s.sampleTable.lastSample()).arg(s.wellCount)};
            for (int f = 0; f < nf; ++f)
                s.sampleTable(sample, f) = text("a sample field");
        }
    }

    State &mState;
    ValueReader mValues;
};

void emptyDocument(State &state)
{
    if (!isPlateFormat(state.wellCount) || !state.sampleTable.isDimensioned()) {
        // A state nobody laid out yet: give it a plate before anything is stored.
        if (!isPlateFormat(state.wellCount))
            state.wellCount = 96;
        spotcoords(state, state.wellCount);
        state.topSample = std::clamp(state.topSample, 1, state.wellCount);
    } else {
        state.sampleTable.clear();
    }
}

// Appends one line holding a text, in the form that reads back as written.
bool appendText(QByteArray &out, const QString &text)
{
    out.append('"');
    const qsizetype start = out.size();
    bool exact = true;

    // Nearly every text is plain ASCII: copy it straight across.
    out.resize(start + text.size());
    char *to = out.data() + start;
    const char16_t *from = reinterpret_cast<const char16_t *>(text.constData());
    qsizetype i = 0;
    for (; i < text.size() && from[i] < 0x80; ++i)
        to[i] = char(from[i]);
    if (i < text.size()) {
        out.truncate(start);
        exact = appendCp1252(out, text);
        to = out.data() + start;
    }

    for (char *c = to, *end = out.data() + out.size(); c != end; ++c) {
        if (*c == '"') {
            *c = '\'';
            exact = false;
        } else if (*c == '\r' || *c == '\n') {
            *c = ' ';
            exact = false;
        }
    }
    out.append("\"\r\n", 3);
    return exact;
}

void appendNumber(QByteArray &out, qint64 number)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    Q_UNUSED(error);
    out.append(buffer, end - buffer);
    out.append("\r\n", 2);
}

} // namespace

ReadResult readSampleData(State &state, const QByteArray &data)
{
    emptyDocument(state);
    return Reader(state, data).run();
}

ReadResult ReadSampleFile(State &state)
{
    emptyDocument(state);

    QFile file(state.filePath);
    ReadResult failed;
    failed.status = ReadResult::Failed;
    if (!file.open(QIODevice::ReadOnly)) {
        failed.reason = file.errorString();
        return failed;
    }
    if (file.size() > MaxFileSize) {
        failed.reason = QStringLiteral("the file is too large to be a sample file");
        return failed;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        failed.reason = file.errorString();
        return failed;
    }
    return Reader(state, data).run();
}

QByteArray sampleFileBytes(const State &state, int *changedValues)
{
    const int nf = std::clamp(state.fieldCount(), 0, int(state.fieldName.size()));
    int changed = 0;
    auto text = [&](QByteArray &out, const QString &value) {
        if (!appendText(out, value))
            ++changed;
    };

    QByteArray out;
    out.reserve(1 << 16);
    text(out, QLatin1String(FileHeader));
    text(out, state.fileDesc);
    out.append(numberText(state.numField).toLatin1());
    out.append("\r\n", 2);
    text(out, state.company);
    appendNumber(out, state.wellCount);
    for (int f = 0; f < nf; ++f)
        text(out, state.fieldName[std::size_t(f)]);
    for (const Colour colour : state.keyColor)
        appendNumber(out, qint32(colour));
    for (const QString &name : state.keyName)
        text(out, name);

    // Past wellCount + 1 the table is empty in normal use; a sample a file
    // brought there, or one typed into a frame past the last well, is
    // written back rather than lost.
    const SampleTable &table = state.sampleTable;
    for (int s = 0; s <= table.lastSample(); ++s) {
        if (!SampleHasData(state, s))
            continue;
        appendNumber(out, s);
        for (int f = 0; f < nf; ++f)
            text(out, table(s, f));
    }
    appendNumber(out, -1);

    if (changedValues)
        *changedValues = changed;
    return out;
}

WriteResult WriteSampleFile(const State &state)
{
    WriteResult result;
    const QByteArray bytes = sampleFileBytes(state, &result.changedValues);
    const FileSaveResult saved = saveFile(state.filePath, bytes, keptCopyFolder());
    result.ok = saved.ok;
    result.error = saved.error;
    result.keptCopy = saved.keptCopy;
    return result;
}

} // namespace Tessar

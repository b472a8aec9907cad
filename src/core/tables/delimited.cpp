#include "core/tables/delimited.h"

#include <algorithm>

namespace Tessar {

bool TextRecord::isBlank() const
{
    for (const QString &cell : cells) {
        if (!QStringView(cell).trimmed().isEmpty())
            return false;
    }
    return true;
}

namespace {

class Splitter
{
public:
    Splitter(QStringView text, QChar separator, bool quoting)
        : mPos(text.utf16()), mEnd(text.utf16() + text.size()),
          mSeparator(separator.unicode()), mQuoting(quoting)
    {}

    std::vector<TextRecord> run(int *stoppedAtLine)
    {
        std::vector<TextRecord> records;
        qsizetype cells = 0;
        while (mPos != mEnd) {
            if (cells >= MaxCellsInText) {
                if (stoppedAtLine)
                    *stoppedAtLine = mLine;
                break;
            }
            TextRecord record;
            record.line = mLine;
            record.cells.reserve(mWidth);
            for (;;) {
                QString text = cell();
                if (record.cells.size() < MaxCellsPerLine)
                    record.cells.append(std::move(text));
                else
                    ++record.droppedCells;
                if (mPos != mEnd && *mPos == mSeparator) {
                    ++mPos;
                    continue;
                }
                break;
            }
            skipLineEnd();
            mWidth = std::max(mWidth, record.cells.size());
            cells += record.cells.size();
            records.push_back(std::move(record));
        }
        return records;
    }

private:
    bool endsCell(const char16_t *p) const
    {
        return p == mEnd || *p == mSeparator || *p == u'\r' || *p == u'\n';
    }

    QString cell()
    {
        if (mQuoting && mPos != mEnd && *mPos == u'"' && !mUnclosedSeen) {
            QString quoted;
            if (quotedCell(quoted))
                return quoted;
        }
        const char16_t *start = mPos;
        while (!endsCell(mPos))
            ++mPos;
        return QString(reinterpret_cast<const QChar *>(start), mPos - start);
    }

    // Reads a quoted cell from the opening quote at mPos. False, moving
    // nothing, when it is not one after all.
    bool quotedCell(QString &out)
    {
        const char16_t *p = mPos + 1;
        int lines = 0;
        for (;;) {
            const char16_t *start = p;
            while (p != mEnd && *p != u'"') {
                if (*p == u'\n' || (*p == u'\r' && (p + 1 == mEnd || p[1] != u'\n')))
                    ++lines;
                ++p;
            }
            out.append(QStringView(start, p));
            if (p == mEnd) {
                // Never closed. Every later quote is taken as plain text too,
                // so no other cell searches the rest of the text again.
                mUnclosedSeen = true;
                out.clear();
                return false;
            }
            ++p;    // the quote
            if (p != mEnd && *p == u'"') {
                out.append(u'"');
                ++p;
                continue;
            }
            if (!endsCell(p)) {
                out.clear();
                return false;
            }
            mPos = p;
            mLine += lines;
            return true;
        }
    }

    void skipLineEnd()
    {
        if (mPos == mEnd)
            return;
        const bool carriageReturn = *mPos == u'\r';
        ++mPos;
        if (carriageReturn && mPos != mEnd && *mPos == u'\n')
            ++mPos;
        ++mLine;
    }

    const char16_t *mPos;
    const char16_t *mEnd;
    char16_t mSeparator;
    bool mQuoting;
    bool mUnclosedSeen = false;
    qsizetype mWidth = 0;       // cells on the widest record so far
    int mLine = 1;
};

} // namespace

std::vector<TextRecord> splitRecords(QStringView text, QChar separator, bool quoting, int *stoppedAtLine)
{
    if (stoppedAtLine)
        *stoppedAtLine = 0;
    return Splitter(text, separator, quoting).run(stoppedAtLine);
}

void appendCell(QString &out, QStringView cell, QChar separator)
{
    bool quote = false;
    for (const QChar c : cell) {
        if (c == separator || c == u'"' || c == u'\r' || c == u'\n') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(cell);
        return;
    }
    out.append(u'"');
    for (const QChar c : cell) {
        if (c == u'"')
            out.append(u'"');
        out.append(c);
    }
    out.append(u'"');
}

} // namespace Tessar

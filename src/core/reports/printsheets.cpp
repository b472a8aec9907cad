#include "core/reports/printsheets.h"

#include <algorithm>

namespace Tessar {

namespace {

using Measure = std::function<double(const QString &)>;

// The longest start of `text` that fits in `room`, but at least one
// character, so that a sheet narrower than a letter still ends. Widths are
// measured on growing, then halving, prefixes: a 10 000-character value
// costs a few measurements per line, not one per character.
qsizetype fittingLength(const QString &text, double room, const Measure &measure)
{
    const qsizetype size = text.size();
    qsizetype fits = 0;
    qsizetype tooLong = size + 1;
    for (qsizetype probe = std::min<qsizetype>(size, 16);; probe = std::min(size, probe * 2)) {
        if (measure(text.left(probe)) <= room) {
            fits = probe;
            if (probe == size)
                return size;
        } else {
            tooLong = probe;
            break;
        }
    }
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (measure(text.left(middle)) <= room)
            fits = middle;
        else
            tooLong = middle;
    }
    return std::max<qsizetype>(fits, 1);
}

// Moves a break that would split a letter from its accent, or a character
// from its second half, back before them; forward when that leaves nothing.
qsizetype letterBoundary(const QString &text, qsizetype at)
{
    const auto splits = [&text](qsizetype cut) {
        return cut < text.size() && (text.at(cut).isLowSurrogate() || text.at(cut).isMark());
    };
    qsizetype cut = at;
    while (cut > 1 && splits(cut))
        --cut;
    while (splits(cut))
        ++cut;
    return cut;
}

// A blank a line may end at: not one that is there to keep words together.
bool breakingBlank(QChar c)
{
    return c.isSpace() && c != QChar::Nbsp && c != QChar(0x2007) && c != QChar(0x202F);
}

// Where a line of at most `length` characters best ends: after the last
// word that fits, or 0 when the line holds no break.
qsizetype wordBreak(const QString &text, qsizetype length)
{
    for (qsizetype at = std::min(length, text.size() - 1); at > 0; --at) {
        if (breakingBlank(text.at(at)) && !text.at(at - 1).isSpace())
            return at;
    }
    return 0;
}

qsizetype leadingBlanks(const QString &text)
{
    qsizetype n = 0;
    while (n < text.size() && breakingBlank(text.at(n)))
        ++n;
    return n;
}

QStringList hardLines(const QString &text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(u'\r', u'\n');
    return unified.split(u'\n');
}

} // namespace

QStringList wrapText(const QString &text, double width, double indent, const Measure &measure)
{
    QStringList lines;
    const QStringList paragraphs = hardLines(text);
    for (const QString &paragraph : paragraphs) {
        QString rest = paragraph;
        if (rest.isEmpty()) {
            lines.append(QString());
            continue;
        }
        while (!rest.isEmpty()) {
            const double room = lines.isEmpty() ? width : width - indent;
            const qsizetype fits = fittingLength(rest, room, measure);
            if (fits >= rest.size()) {
                lines.append(rest);
                break;
            }
            const qsizetype atWord = wordBreak(rest, fits);
            const qsizetype cut = atWord > 0 ? atWord : letterBoundary(rest, fits);
            lines.append(rest.left(cut));
            rest = rest.mid(cut);
            rest.remove(0, leadingBlanks(rest));
        }
    }
    return lines;
}

std::vector<Sheet> layoutSheets(const std::vector<PrintPage> &pages, const SheetRoom &room, const TextWidth &width)
{
    const std::size_t perSheet = std::size_t(std::max(room.linesPerSheet, 1));
    std::vector<Sheet> sheets;
    for (const PrintPage &page : pages) {
        sheets.emplace_back();
        for (const PrintLine &line : page) {
            const QStringList pieces = wrapText(line.text, room.lineWidth, room.indent,
                                                [&width, &line](const QString &text) { return width(text, line.bold); });
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                if (sheets.back().size() >= perSheet)
                    sheets.emplace_back();
                sheets.back().push_back({pieces.at(i), line.bold, i > 0});
            }
        }
    }
    return sheets;
}

} // namespace Tessar

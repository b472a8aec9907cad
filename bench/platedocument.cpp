#include "platedocument.h"

#include "core/document/document.h"
#include "core/files/samplefile.h"

namespace Tessar {

namespace {

constexpr int Rows = 10;
constexpr int TextLength = 40;

// A distinct 40-character text per cell, so nothing can be shared or
// shortcut anywhere.
std::string text(int s, int f)
{
    // Appended piece by piece: GCC 12 warns wrongly about the chained +.
    std::string t = "S";
    t += std::to_string(s);
    t += " F";
    t += std::to_string(f);
    t += ' ';
    while (int(t.size()) < TextLength)
        t += char('a' + (t.size() + std::size_t(s) + std::size_t(f)) % 26);
    return t;
}

std::string quoted(const std::string &t)
{
    return '"' + t + '"';
}

} // namespace

PlateDocument makePlateDocument(int wells)
{
    PlateDocument d;
    State &st = d.state;
    applyFirstRunDefaults(st);
    st.wellCount = wells;
    st.numField = Rows;
    newDocument(st);
    st.fileDesc = QString::fromStdString(text(0, 1));
    st.company = QString::fromStdString(text(0, 2));
    for (int f = 1; f < Rows; ++f)
        st.fieldName[f] = QString::fromStdString(text(0, 10 + f));
    for (int k = 1; k < 7; ++k)
        st.keyName[k] = QString::fromStdString(text(0, 30 + k));
    for (int s = 1; s <= wells; ++s) {
        std::vector<std::string> row;
        for (int f = 0; f < Rows; ++f) {
            row.push_back(f == 0 ? text(0, 30 + 1 + s % 6) : text(s, f));
            st.sampleTable(s, f) = QString::fromStdString(row.back());
        }
        d.samples.push_back(std::move(row));
    }

    auto &h = d.headerLines;
    h.push_back(quoted(FileHeader));
    h.push_back(quoted(st.fileDesc.toStdString()));
    h.push_back(std::to_string(Rows));
    h.push_back(quoted(st.company.toStdString()));
    h.push_back(std::to_string(wells));
    for (int f = 0; f < Rows; ++f)
        h.push_back(quoted(st.fieldName[f].toStdString()));
    for (Colour c : st.keyColor)
        h.push_back(std::to_string(std::int32_t(c)));
    for (const QString &k : st.keyName)
        h.push_back(quoted(k.toStdString()));
    return d;
}

} // namespace Tessar

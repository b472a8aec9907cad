#include "core/tables/tableexport.h"

#include "core/tables/delimited.h"
#include "core/tables/workbook.h"
#include "core/document/state.h"
#include "core/plate/wellname.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace Tessar {

namespace {

const QLatin1String CrLf("\r\n");

bool exported(const State &state, int s, bool allWells)
{
    return SampleHasData(state, s) || (allWells && s >= 1 && s <= state.wellCount);
}

int rowsOf(const State &state)
{
    const int most = std::max(1, std::min(int(state.fieldName.size()), state.sampleTable.lastField() + 1));
    return std::clamp(state.fieldCount(), 1, most);
}

} // namespace

std::vector<QStringList> documentRows(const State &state, bool allWells, bool ownRowLetters)
{
    const int nf = rowsOf(state);
    std::vector<QStringList> rows;
    QStringList header{QStringLiteral("Well"), QStringLiteral("Sample No.")};
    for (int f = 0; f < nf; ++f)
        header.append(f == 0 ? QStringLiteral("Key") : state.fieldName[std::size_t(f)]);
    rows.push_back(std::move(header));
    const int last = std::min(state.wellCount, state.sampleTable.lastSample());
    for (int s = 1; s <= last; ++s) {
        if (!exported(state, s, allWells))
            continue;
        QStringList row{ownRowLetters ? wellLabel(state, s) : standardWellName(state, s), QString::number(s)};
        for (int f = 0; f < nf; ++f)
            row.append(state.sampleTable(s, f));
        rows.push_back(std::move(row));
    }
    return rows;
}

QString documentTable(const State &state, QChar separator, bool allWells, bool ownRowLetters)
{
    QString out;
    for (const QStringList &row : documentRows(state, allWells, ownRowLetters)) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                out.append(separator);
            appendCell(out, row[c], separator);
        }
        out.append(CrLf);
    }
    return out;
}

QByteArray documentWorkbook(const State &state, bool allWells, QString *error, bool ownRowLetters)
{
    return workbookBytes(documentRows(state, allWells, ownRowLetters), QStringLiteral("Samples"), error);
}

QJsonObject documentJson(const State &state, const QString &header, bool allWells)
{
    const int nf = rowsOf(state);
    QJsonArray fieldNames;
    for (int f = 0; f < nf; ++f)
        fieldNames.append(state.fieldName[std::size_t(f)]);
    QJsonArray colours;
    for (const Colour colour : state.keyColor)
        colours.append(qint64(qint32(colour)));
    QJsonArray keyNames;
    for (const QString &name : state.keyName)
        keyNames.append(name);

    // Every slot a file can hold, as Save writes them; one past the plate's
    // wells has no well name.
    QJsonArray samples;
    for (int s = 0; s <= state.sampleTable.lastSample(); ++s) {
        if (!exported(state, s, allWells))
            continue;
        QJsonArray fields;
        for (int f = 0; f < nf; ++f)
            fields.append(state.sampleTable(s, f));
        const bool onPlate = s >= 1 && s <= state.wellCount;
        samples.append(QJsonObject{
            {QStringLiteral("s"), s},
            {QStringLiteral("well"), onPlate ? wellLabel(state, s) : QString()},
            {QStringLiteral("fields"), fields},
        });
    }

    return QJsonObject{
        {QStringLiteral("header"), header},
        {QStringLiteral("fileDesc"), state.fileDesc},
        {QStringLiteral("numField"), double(state.numField)},
        {QStringLiteral("company"), state.company},
        {QStringLiteral("wellCount"), state.wellCount},
        {QStringLiteral("fieldName"), fieldNames},
        {QStringLiteral("keyColor"), colours},
        {QStringLiteral("keyName"), keyNames},
        {QStringLiteral("samples"), samples},
    };
}

QByteArray exportDocument(const State &state, ExportFormat format, bool allWells, const QString &header, bool ownRowLetters)
{
    switch (format) {
    case ExportFormat::Csv:
        return documentTable(state, u',', allWells, ownRowLetters).toUtf8();
    case ExportFormat::Tsv:
        return documentTable(state, u'\t', allWells, ownRowLetters).toUtf8();
    case ExportFormat::Json:
        return QJsonDocument(documentJson(state, header, allWells)).toJson(QJsonDocument::Indented);
    case ExportFormat::Xlsx:
        return documentWorkbook(state, allWells, nullptr, ownRowLetters);
    }
    return {};
}

} // namespace Tessar

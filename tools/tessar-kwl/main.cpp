// tessar-kwl: reads, checks and rewrites sample files exactly as the
// program's File > Open and File > Save do.

#include "core/document.h"
#include "core/plategeometry.h"
#include "core/samplefile.h"
#include "core/state.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

using namespace Tessar;

namespace {

enum ExitStatus {
    Complete = 0,
    IoError = 1,
    Usage = 2,
    Unrecognised = 3,
    ReadFailed = 4,
};

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// A document as a first start would have it, so what a file holds is not
// mixed up with whoever runs the tool.
void freshDocument(State &state)
{
    applyFirstRunDefaults(state);
    newDocument(state);
}

int statusOf(const ReadResult &result)
{
    switch (result.status) {
    case ReadResult::Complete: return Complete;
    case ReadResult::Unrecognised: return Unrecognised;
    case ReadResult::Failed: return result.line == 0 ? IoError : ReadFailed;
    }
    return ReadFailed;
}

void report(const QString &file, const ReadResult &result)
{
    if (result.status == ReadResult::Complete)
        return;
    if (result.line > 0)
        err() << file << ':' << result.line << ": " << result.reason << Qt::endl;
    else
        err() << file << ": " << result.reason << Qt::endl;
}

ReadResult readInto(State &state, const QString &file)
{
    freshDocument(state);
    state.filePath = file;
    return ReadSampleFile(state);
}

QJsonObject toJson(const State &state, const ReadResult &result)
{
    const int nf = state.fieldCount();
    QJsonArray fieldNames;
    for (int f = 0; f < nf; ++f)
        fieldNames.append(state.fieldName[std::size_t(f)]);
    QJsonArray colours;
    for (const Colour colour : state.keyColor)
        colours.append(qint64(qint32(colour)));
    QJsonArray keyNames;
    for (const QString &name : state.keyName)
        keyNames.append(name);

    QJsonArray samples;
    for (int s = 0; s <= state.sampleTable.lastSample(); ++s) {
        if (!SampleHasData(state, s))
            continue;
        QJsonArray fields;
        for (int f = 0; f < nf; ++f)
            fields.append(state.sampleTable(s, f));
        // A slot past the plate's wells has no well name.
        const WellName well = spotname(state, s);
        const bool onPlate = s >= 1 && s <= state.wellCount;
        samples.append(QJsonObject{
            {QStringLiteral("s"), s},
            {QStringLiteral("well"), onPlate ? QString(well.letter) + QString::number(well.number) : QString()},
            {QStringLiteral("fields"), fields},
        });
    }

    return QJsonObject{
        {QStringLiteral("header"), result.header},
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

int dump(const QString &file)
{
    State state;
    const ReadResult result = readInto(state, file);
    report(file, result);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return IoError;
    out.write(QJsonDocument(toJson(state, result)).toJson(QJsonDocument::Indented));
    return statusOf(result);
}

int resave(const QString &in, const QString &out)
{
    State state;
    const ReadResult result = readInto(state, in);
    report(in, result);
    // Like File > Save after a failed Open: whatever the document holds is written.
    state.filePath = out;
    const WriteResult written = WriteSampleFile(state);
    if (!written.ok) {
        err() << out << ": " << written.error << Qt::endl;
        if (!written.keptCopy.isEmpty())
            err() << out << ": the file as it was before is kept in " << written.keptCopy << Qt::endl;
        return IoError;
    }
    if (written.changedValues > 0)
        err() << out << ": " << written.changedValues
              << " text(s) held characters a sample file cannot store and were written changed" << Qt::endl;
    return statusOf(result);
}

int check(const QStringList &files)
{
    int worst = Complete;
    for (const QString &file : files) {
        State state;
        const ReadResult result = readInto(state, file);
        if (result.ok()) {
            QTextStream(stdout) << file << ": ok" << Qt::endl;
            continue;
        }
        if (result.status == ReadResult::Unrecognised)
            err() << file << ":1: not a sample file (first line \"" << result.header.left(60) << "\")" << Qt::endl;
        else
            report(file, result);
        worst = std::max(worst, statusOf(result));
    }
    return worst;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessar-kwl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSAR_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads, checks and rewrites Tessar sample files (.kwl) exactly as Tessar does.\n"
        "\n"
        "Commands:\n"
        "  dump FILE         print the document FILE holds as JSON\n"
        "  resave IN OUT     read IN as File > Open does, write OUT as File > Save does\n"
        "  check FILE...     report every file's problems with line numbers\n"
        "\n"
        "Exit status: 0 the file(s) read completely, 1 a file could not be read or\n"
        "written, 2 usage error, 3 the first line is no sample file header,\n"
        "4 a read stopped part-way (stderr names FILE:LINE and the reason)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("dump, resave or check"));
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("the files it works on"),
                                 QStringLiteral("FILE..."));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const QStringList files = args.mid(1);

    if (command == QLatin1String("dump") && files.size() == 1)
        return dump(files[0]);
    if (command == QLatin1String("resave") && files.size() == 2)
        return resave(files[0], files[1]);
    if (command == QLatin1String("check") && !files.isEmpty())
        return check(files);

    err() << (command.isEmpty() ? QStringLiteral("missing command")
                                : QStringLiteral("wrong use of \"%1\"").arg(command))
          << "\n\n" << parser.helpText();
    return Usage;
}

// tessar-kwl: reads, checks and rewrites sample files exactly as the
// program's File > Open and File > Save do, moves sample lists to and
// from spreadsheet tables, draws the plate and the printout to files, and
// writes the positions a stage visits.

#include "core/document/document.h"
#include "core/plate/pictureoptions.h"
#include "core/plate/plategeometry.h"
#include "core/files/samplefile.h"
#include "core/document/settings.h"
#include "core/document/state.h"
#include "core/stage/stagepositions.h"
#include "core/stage/stagesettings.h"
#include "core/tables/tableexport.h"
#include "core/tables/tableimport.h"
#include "core/tables/tablereader.h"
#include "core/tables/workbook.h"
#include "core/tables/workbookcodec.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTextStream>

#ifdef TESSAR_KWL_PICTURES
#include "plate/picturefile.h"
#include "platform/printingcalls.h"
#include "reports/printoutpdf.h"

#include <QGuiApplication>
#endif

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace Tessar;

namespace {

enum ExitStatus {
    Complete = 0,
    IoError = 1,
    Usage = 2,
    Unrecognised = 3,
    ReadFailed = 4,
    TableProblems = 5,
};

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Thrown for a command line that makes no sense; main() prints the help.
struct UsageError
{
    QString message;
};

// A document as a first start would have it, so what a file holds is not
// mixed up with whoever runs the tool.
void freshDocument(State &state, int wells = DefaultWellCount)
{
    applyFirstRunDefaults(state);
    state.wellCount = wells;
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
    // Named as File > Open names it, for the printout's and the picture's title.
    state.fileTitle = QFileInfo(file).fileName();
    return ReadSampleFile(state);
}

// Writes bytes as the file at `path`, replaced in one step as Save replaces
// a sample file: a failed write leaves an earlier file as it was.
bool saveOutput(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

// Writes bytes to `path`, or to standard output for "-" or no path.
bool writeOutput(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty() || path == QLatin1String("-")) {
        QFile out;
        const bool ok = out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
        if (!ok)
            err() << "standard output: " << out.errorString() << Qt::endl;
        return ok;
    }
    QString error;
    if (!saveOutput(path, bytes, &error)) {
        err() << path << ": " << error << Qt::endl;
        return false;
    }
    return true;
}

struct Options
{
    QString to;
    QString output;         // -o; empty when not given
    bool allWells = false;
    bool ownLetters = false;    // rows 27 to 32 of the largest plate as [ to `, not AA to AF
    PictureOptions picture;   // --width, --no-title, --no-legend
    bool pictureAsked = false;
    QString into;
    int wells = 0;          // --wells; 0 when not given
    bool force = false;
    bool nameKeys = false;
    QString sheet;          // --sheet; empty: the workbook's first sheet
    QString plate;          // --plate; empty: the type chosen for the document's plate
    QString order;
    QStringList teach;      // WELL=X,Y
    QString calibration;
    QString units;
    QString xyDevice;
};

// ---- Export ----------------------------------------------------------------

// What `export --to` can make. Text is made by `make` and goes to standard
// output or a file. A workbook or a drawing is only written to a file, by
// `write`, which replaces the file in one step; a drawing needs a
// QGuiApplication.
struct ExportTarget
{
    enum Kind { Text, File, Drawn };
    QLatin1String name;
    Kind kind;
    std::function<QByteArray(const State &, const ReadResult &, const Options &)> make;
    std::function<bool(const State &, const Options &, const QString &path, QString *error)> write = {};
};

const std::vector<ExportTarget> &exportTargets()
{
    static const std::vector<ExportTarget> targets{
        {QLatin1String("csv"), ExportTarget::Text, [](const State &s, const ReadResult &r, const Options &o) {
             return exportDocument(s, ExportFormat::Csv, o.allWells, r.header, o.ownLetters);
         }},
        {QLatin1String("tsv"), ExportTarget::Text, [](const State &s, const ReadResult &r, const Options &o) {
             return exportDocument(s, ExportFormat::Tsv, o.allWells, r.header, o.ownLetters);
         }},
        {QLatin1String("json"), ExportTarget::Text, [](const State &s, const ReadResult &r, const Options &o) {
             return exportDocument(s, ExportFormat::Json, o.allWells, r.header);
         }},
        {QLatin1String("xlsx"), ExportTarget::File, {}, [](const State &s, const Options &o, const QString &path, QString *error) {
             const QByteArray bytes = documentWorkbook(s, o.allWells, error, o.ownLetters);
             return !bytes.isEmpty() && saveOutput(path, bytes, error);
         }},
#ifdef TESSAR_KWL_PICTURES
        {QLatin1String("png"), ExportTarget::Drawn, {}, [](const State &s, const Options &o, const QString &path, QString *error) {
             return writePlatePicture(s, PictureFormat::Png, o.picture, path, error);
         }},
        {QLatin1String("svg"), ExportTarget::Drawn, {}, [](const State &s, const Options &o, const QString &path, QString *error) {
             return writePlatePicture(s, PictureFormat::Svg, o.picture, path, error);
         }},
        {QLatin1String("pdf"), ExportTarget::Drawn, {}, [](const State &s, const Options &, const QString &path, QString *error) {
             return writePrintoutPdf(s, path, error);
         }},
#endif
    };
    return targets;
}

QString exportTargetNames()
{
    QStringList names;
    for (const ExportTarget &target : exportTargets())
        names << target.name;
    return names.join(u'|');
}

// The names of the targets that are drawn, or of the others.
QString exportTargetNames(bool drawn)
{
    QStringList names;
    for (const ExportTarget &target : exportTargets()) {
        if ((target.kind == ExportTarget::Drawn) == drawn)
            names << target.name;
    }
    return names.join(u'|');
}

// The usage line of the drawn exports; none where the tool is built without them.
QString drawnExportUsage()
{
    const QString names = exportTargetNames(true);
    if (names.isEmpty())
        return QString();
    return QStringLiteral("  export FILE --to %1 [-o OUT] [--width PIXELS]\n"
                          "                    [--no-title] [--no-legend]\n"
                          "                    draw the plate map as File > Export > Plate Map as Image\n"
                          "                    does (1417 pixels wide, 120 mm at 300 dpi, unless\n"
                          "                    told), or write the printout as File > Export >\n"
                          "                    Printout as PDF does; without -o the file goes\n"
                          "                    beside FILE, named after it\n")
        .arg(names);
}

// Drawing needs fonts and a painter, so an export that draws runs in a
// QGuiApplication; every other command runs without one. It draws
// offscreen unless the user names a platform: a script has no display,
// an old DISPLAY left in a remote shell may lead nowhere, and the picture
// is the same either way.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv, QCommandLineParser &parser)
{
#ifdef TESSAR_KWL_PICTURES
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // A first look only; process() judges the command line once the application is there.
    parser.parse(arguments);
    const bool drawn = parser.positionalArguments().value(0) == QLatin1String("export")
        && std::any_of(exportTargets().begin(), exportTargets().end(), [&parser](const ExportTarget &target) {
               return target.kind == ExportTarget::Drawn && target.name == parser.value(QStringLiteral("to"));
           });
    if (drawn) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // A script reads this tool's stderr as its own messages: the window
        // system's remarks (a missing runtime folder in a cron job, say) are
        // no concern of the export. Only a fatal one still gets through.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type == QtFatalMsg)
                err() << message << Qt::endl;
        });
        return std::make_unique<QGuiApplication>(argc, argv);
    }
#else
    Q_UNUSED(parser);
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

const ExportTarget &exportTarget(const QString &name)
{
    for (const ExportTarget &target : exportTargets()) {
        if (name == target.name)
            return target;
    }
    throw UsageError{name.isEmpty() ? QStringLiteral("export needs --to %1").arg(exportTargetNames())
                                    : QStringLiteral("unknown export format \"%1\"").arg(name)};
}

// ---- The commands ----------------------------------------------------------


int dump(const QString &file)
{
    State state;
    const ReadResult result = readInto(state, file);
    report(file, result);
    if (!writeOutput(QString(), exportDocument(state, ExportFormat::Json, false, result.header)))
        return IoError;
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

int exportFile(const QString &file, const Options &options)
{
    const ExportTarget &target = exportTarget(options.to);
    if (target.kind != ExportTarget::Text && options.output == QLatin1String("-"))
        throw UsageError{QStringLiteral("--to %1 writes a file; standard output is for the text formats").arg(target.name)};
    if (options.pictureAsked && target.name != QLatin1String("png") && target.name != QLatin1String("svg"))
        throw UsageError{QStringLiteral("--width, --no-title and --no-legend are for --to png and svg")};
    // JSON is what dump prints; only the tables name wells by letters.
    if (options.ownLetters && target.name != QLatin1String("csv") && target.name != QLatin1String("tsv")
        && target.name != QLatin1String("xlsx"))
        throw UsageError{QStringLiteral("--own-letters is for --to csv, tsv and xlsx")};
    // Beside the sample file and named after it, as the program's save dialog offers.
    const QFileInfo input(file);
    const QString output = target.kind == ExportTarget::Text || !options.output.isEmpty()
        ? options.output
        : file.left(file.size() - input.fileName().size()) + input.completeBaseName() + u'.' + target.name;

    State state;
    const ReadResult result = readInto(state, file);
    report(file, result);
    // A damaged file is exported as far as it was read, as dump shows it.
    if (result.status == ReadResult::Unrecognised || (result.status == ReadResult::Failed && result.line == 0))
        return statusOf(result);
    if (target.write) {
        // The height follows from the document, so only now can the size be judged.
        const QString problem = target.kind == ExportTarget::Drawn ? pictureSizeProblem(state, options.picture) : QString();
        if (!problem.isEmpty())
            throw UsageError{problem};
        QString error;
        if (!target.write(state, options, output, &error)) {
            err() << output << ": " << error << Qt::endl;
            return IoError;
        }
        return statusOf(result);
    }
    if (!writeOutput(options.output, target.make(state, result, options)))
        return IoError;
    return statusOf(result);
}

int importTable(const QString &tablePath, const Options &options)
{
    if (options.into.isEmpty() == (options.wells == 0))
        throw UsageError{QStringLiteral("import needs either --into FILE.kwl or --wells N")};
    if (options.wells != 0 && options.output.isEmpty())
        throw UsageError{QStringLiteral("import --wells needs -o OUT.kwl")};

    QByteArray bytes;
    QString error;
    if (!readTableFile(tablePath, bytes, error)) {
        err() << tablePath << ": " << error << Qt::endl;
        return IoError;
    }
    const TableSource source = tablePath == QLatin1String("-") ? TableSource::Content : tableSourceForPath(tablePath);
    const TextTable table = readTable(QByteArrayView(bytes), source, options.sheet);
    if (!options.sheet.isEmpty() && table.format != TableFormat::Workbook)
        throw UsageError{QStringLiteral("--sheet names a sheet of a workbook (.xlsx); %1 is a text table").arg(tablePath)};

    State state;
    if (!options.into.isEmpty()) {
        // Only a document read completely is written back: what a damaged
        // file holds past the damage would be lost.
        const ReadResult result = readInto(state, options.into);
        if (!result.ok()) {
            report(options.into, result);
            return statusOf(result);
        }
    } else {
        freshDocument(state, options.wells);
        shapeForTable(state, table);
    }

    // A new document has no key names of its own: the table's become them.
    const ImportPlan plan = planImport(state, table, {options.nameKeys || options.wells != 0});
    for (const TableIssue &issue : plan.issues) {
        if (issue.line > 0)
            err() << tablePath << ':' << issue.line << ": " << issue.reason << Qt::endl;
        else
            err() << tablePath << ": " << issue.reason << Qt::endl;
    }
    if (!plan.usable)
        return TableProblems;
    if (plan.hasProblems() && !options.force) {
        err() << tablePath << ": " << plan.issueCount << " problem(s); nothing written (--force writes anyway)" << Qt::endl;
        return TableProblems;
    }
    if (applyImport(state, plan) != ApplyStatus::Applied)
        return TableProblems;

    const QString out = options.output.isEmpty() ? options.into : options.output;
    if (out == QLatin1String("-"))
        return writeOutput(out, sampleFileBytes(state)) ? Complete : IoError;
    state.filePath = out;
    const WriteResult written = WriteSampleFile(state);
    if (!written.ok) {
        err() << out << ": " << written.error << Qt::endl;
        return IoError;
    }
    QTextStream(stdout) << out << ": " << plan.samples.size() << " sample(s) imported from " << tablePath << Qt::endl;
    return Complete;
}

// ---- Stage positions ---------------------------------------------------------

PlateType plateFor(const Options &options, const StageSettings &settings, const State &state)
{
    if (options.plate.startsWith(QLatin1String("custom:"))) {
        QString problem;
        const std::optional<PlateType> custom = parseCustomPlate(QStringView(options.plate).mid(7), &problem);
        if (!custom)
            throw UsageError{QStringLiteral("--plate %1: %2").arg(options.plate, problem)};
        return *custom;
    }
    const PlateType *type = options.plate.isEmpty() ? settings.chosenType(state.wellCount) : settings.findType(options.plate);
    if (!type) {
        QStringList names;
        for (const PlateType &known : settings.allTypes())
            names << QLatin1Char('"') + known.name + QLatin1Char('"');
        throw UsageError{QStringLiteral("there is no plate type \"%1\"; there are %2, or custom:ROWSxCOLS,A1X,A1Y,PITCHX,PITCHY")
                             .arg(options.plate, names.join(QStringLiteral(", ")))};
    }
    return *type;
}

std::optional<CalibrationFit> calibrationFor(const Options &options, const StageSettings &settings,
                                             const PlateType &plate, StageUnit unit)
{
    if (!options.calibration.isEmpty() && !options.teach.isEmpty())
        throw UsageError{QStringLiteral("give either --calibration or --teach, not both")};
    Calibration calibration;
    if (!options.calibration.isEmpty()) {
        const Calibration *stored = settings.findCalibration(plate.name, options.calibration);
        if (!stored)
            throw UsageError{QStringLiteral("%1 has no calibration named \"%2\"").arg(plate.name, options.calibration)};
        calibration = *stored;
    } else if (!options.teach.isEmpty()) {
        calibration.unit = unit;
        for (const QString &taught : options.teach) {
            const qsizetype equals = taught.indexOf(u'=');
            const QStringList xy = taught.mid(equals + 1).split(u',');
            const std::optional<GridWell> well = parseStageWell(plate, QStringView(taught).left(std::max<qsizetype>(equals, 0)));
            bool okX = false, okY = false;
            const QPointF at(xy.value(0).trimmed().toDouble(&okX), xy.value(1).trimmed().toDouble(&okY));
            if (equals < 1 || xy.size() != 2 || !okX || !okY)
                throw UsageError{QStringLiteral("--teach %1: write WELL=X,Y, for example A1=1200.5,-350").arg(taught)};
            if (!well)
                throw UsageError{QStringLiteral("--teach %1: %2 is no well of %3").arg(taught, taught.left(equals), plate.name)};
            calibration.wells.push_back({*well, at});
        }
    } else {
        return std::nullopt;
    }
    const CalibrationFit fit = fitCalibration(plate, calibration);
    if (!fit.ok)
        throw UsageError{QStringLiteral("the calibration cannot be used: %1").arg(fit.problem)};
    return fit;
}

int positionsFile(const QString &file, const QStringList &extraTeach, Options options)
{
    if (!extraTeach.isEmpty() && options.teach.isEmpty())
        throw UsageError{QStringLiteral("positions takes one FILE")};
    options.teach += extraTeach;
    const QStringList targets{QStringLiteral("pos"), QStringLiteral("csv"), QStringLiteral("json")};
    if (!targets.contains(options.to))
        throw UsageError{options.to.isEmpty() ? QStringLiteral("positions needs --to pos|csv|json")
                                              : QStringLiteral("unknown positions format \"%1\"").arg(options.to)};
    const std::optional<VisitOrder> order = visitOrderFromKey(options.order.isEmpty() ? QStringLiteral("sample") : options.order);
    if (!order)
        throw UsageError{QStringLiteral("--order must be sample, rows, columns or shortest")};
    const std::optional<StageUnit> unit = unitFromKey(options.units.isEmpty() ? QStringLiteral("um") : options.units);
    if (!unit)
        throw UsageError{QStringLiteral("--units must be um or mm")};
    if (options.xyDevice.isEmpty())
        throw UsageError{QStringLiteral("--xy-device needs a name")};

    State state;
    const ReadResult result = readInto(state, file);
    report(file, result);
    if (result.status == ReadResult::Unrecognised || (result.status == ReadResult::Failed && result.line == 0))
        return statusOf(result);

    QSettings store(settingsFilePath(), QSettings::IniFormat);
    const StageSettings settings = loadStageSettings(store);
    for (const QString &problem : settings.problems)
        err() << settingsFilePath() << ": " << problem << Qt::endl;
    PositionRequest request;
    request.plate = plateFor(options, settings, state);
    const QString mismatch = plateTypeMismatch(request.plate, state);
    if (!mismatch.isEmpty())
        throw UsageError{QStringLiteral("--plate: %1").arg(mismatch)};
    request.calibration = calibrationFor(options, settings, request.plate, *unit);
    request.order = *order;
    request.allWells = options.allWells;
    const PositionList list = stagePositions(state, request);
    if (list.positions.empty())
        err() << file << ": no well holds data, so there is nothing to visit (--all-wells visits every well)" << Qt::endl;

    QByteArray bytes;
    if (options.to == QLatin1String("pos"))
        bytes = positionListFile(list, options.xyDevice);
    else if (options.to == QLatin1String("csv"))
        bytes = positionsCsv(list, *unit);
    else
        bytes = positionsJson(list, *unit, request.plate.name, *order);
    if (!writeOutput(options.output, bytes))
        return IoError;
    return statusOf(result);
}

struct Command
{
    QLatin1String name;
    int minFiles;
    int maxFiles;               // -1: no limit
    QStringList options;        // the options it takes
    std::function<int(const QStringList &, const Options &)> run;
};

const std::vector<Command> &commands()
{
    static const std::vector<Command> list{
        {QLatin1String("dump"), 1, 1, {}, [](const QStringList &f, const Options &) { return dump(f[0]); }},
        {QLatin1String("resave"), 2, 2, {}, [](const QStringList &f, const Options &) { return resave(f[0], f[1]); }},
        {QLatin1String("check"), 1, -1, {}, [](const QStringList &f, const Options &) { return check(f); }},
        {QLatin1String("export"), 1, 1,
         {QStringLiteral("to"), QStringLiteral("o"), QStringLiteral("all-wells"), QStringLiteral("own-letters"),
          QStringLiteral("width"), QStringLiteral("no-title"), QStringLiteral("no-legend")},
         [](const QStringList &f, const Options &o) { return exportFile(f[0], o); }},
        {QLatin1String("import"), 1, 1,
         {QStringLiteral("into"), QStringLiteral("wells"), QStringLiteral("o"), QStringLiteral("force"), QStringLiteral("name-keys"),
          QStringLiteral("sheet")},
         [](const QStringList &f, const Options &o) { return importTable(f[0], o); }},
        {QLatin1String("positions"), 1, -1,
         {QStringLiteral("plate"), QStringLiteral("order"), QStringLiteral("all-wells"), QStringLiteral("teach"),
          QStringLiteral("calibration"), QStringLiteral("units"), QStringLiteral("xy-device"), QStringLiteral("to"),
          QStringLiteral("o")},
         [](const QStringList &f, const Options &o) { return positionsFile(f[0], f.mid(1), o); }},
    };
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    // A tool that runs once per file has no start to keep short.
    Tessar::useLinkedWorkbookCodec(tessarWorkbookCodec());
#ifdef TESSAR_KWL_PICTURES
    Tessar::useLinkedPrinting(tessarPrinting());
#endif
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads, checks and rewrites Tessar sample files (.kwl) exactly as Tessar does,\n"
        "exchanges sample lists with spreadsheets and writes the positions a stage visits.\n"
        "\n"
        "Commands:\n"
        "  dump FILE         print the document FILE holds as JSON\n"
        "  resave IN OUT     read IN as File > Open does, write OUT as File > Save does\n"
        "  check FILE...     report every file's problems with line numbers\n"
        "  export FILE --to %1 [-o OUT] [--all-wells] [--own-letters]\n"
        "                    write the samples as a table (or JSON, as dump prints it);\n"
        "                    one line per sample with data, every well with --all-wells;\n"
        "                    1536-well rows 27 to 32 as AA to AF ([ to ` with --own-letters);\n"
        "                    xlsx, a workbook whose cells are all text, goes to a file,\n"
        "                    without -o beside FILE, named after it\n"
        "%2"
        "  import TABLE --into FILE.kwl [-o OUT.kwl] [--name-keys] [--force]\n"
        "  import TABLE --wells 24|48|96|384|1536 -o OUT.kwl [--force]\n"
        "                    fill samples from a .csv, .tsv or .xlsx table (the first\n"
        "                    sheet, or the one --sheet NAME names), a Copy All text or\n"
        "                    '-' (standard input); --into writes back into FILE.kwl\n"
        "                    unless -o is given; --wells starts a new document whose\n"
        "                    rows are the table's columns\n"
        "  positions FILE [--plate NAME] [--order sample|rows|columns|shortest]\n"
        "            [--all-wells] [--teach WELL=X,Y ... | --calibration NAME]\n"
        "            [--units um|mm] [--xy-device NAME] --to pos|csv|json [-o OUT]\n"
        "                    where the stage finds each well to visit, in visit order: a\n"
        "                    position list (.pos, in um), a CSV table or JSON; plate\n"
        "                    types and calibrations come from the settings, or\n"
        "                    --plate custom:ROWSxCOLS,A1X,A1Y,PITCHX,PITCHY (mm) and two\n"
        "                    or three --teach wells in --units (um unless told)\n"
        "\n"
        "Without -o, or with -o -, text goes to standard output.\n"
        "\n"
        "Exit status: 0 done, 1 a file could not be read or written, 2 usage error,\n"
        "3 the first line is no sample file header, 4 a read stopped part-way\n"
        "(stderr names FILE:LINE and the reason), 5 the table has problems (each on\n"
        "stderr as TABLE:LINE: reason; nothing is written unless --force is given).")
        .arg(exportTargetNames(false), drawnExportUsage()));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("to"), QStringLiteral("export format: %1; for positions pos|csv|json").arg(exportTargetNames()), QStringLiteral("format")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("where to write ('-' for standard output)"), QStringLiteral("file")},
        {QStringLiteral("all-wells"), QStringLiteral("export every well of the plate, empty ones too")},
        {QStringLiteral("own-letters"), QStringLiteral("name rows 27 to 32 of a 1536-well plate [ to ` as Tessar does, not AA to AF")},
        {QStringLiteral("width"), QStringLiteral("the picture's width (default 1417)"), QStringLiteral("pixels")},
        {QStringLiteral("no-title"), QStringLiteral("leave out the file name and description above the plate")},
        {QStringLiteral("no-legend"), QStringLiteral("leave out the keys' colours and names below the plate")},
        {QStringLiteral("into"), QStringLiteral("the sample file to import into"), QStringLiteral("file")},
        {QStringLiteral("wells"), QStringLiteral("import into a new document of this plate format"), QStringLiteral("n")},
        {QStringLiteral("force"), QStringLiteral("import although the table has problems")},
        {QStringLiteral("name-keys"), QStringLiteral("give key names that match no key to the keys without a name")},
        {QStringLiteral("sheet"), QStringLiteral("the sheet of a workbook to import (default: its first)"), QStringLiteral("name")},
        {QStringLiteral("plate"), QStringLiteral("the plate type the positions are for"), QStringLiteral("name")},
        {QStringLiteral("order"), QStringLiteral("visit order: sample, rows, columns or shortest"), QStringLiteral("order")},
        {QStringLiteral("teach"), QStringLiteral("a well's stage position, read off the stage"), QStringLiteral("well=x,y")},
        {QStringLiteral("calibration"), QStringLiteral("a calibration of the plate type kept in the settings"), QStringLiteral("name")},
        {QStringLiteral("units"), QStringLiteral("um or mm, for --teach and the table (default um)"), QStringLiteral("unit")},
        {QStringLiteral("xy-device"), QStringLiteral("the XY stage device the position list names (default XYStage)"), QStringLiteral("name")},
    });
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("dump, resave, check, export, import or positions"));
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("the files it works on"),
                                 QStringLiteral("FILE..."));
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv, parser);
    QCoreApplication::setApplicationName(QStringLiteral("tessar-kwl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSAR_VERSION));
    parser.process(*app);

    const QStringList args = parser.positionalArguments();
    const QString name = args.value(0);
    const QStringList files = args.mid(1);

    try {
        const Command *command = nullptr;
        for (const Command &c : commands()) {
            if (name == c.name)
                command = &c;
        }
        if (!command)
            throw UsageError{name.isEmpty() ? QStringLiteral("missing command")
                                            : QStringLiteral("unknown command \"%1\"").arg(name)};
        if (files.size() < command->minFiles || (command->maxFiles >= 0 && files.size() > command->maxFiles))
            throw UsageError{QStringLiteral("wrong use of \"%1\"").arg(name)};
        for (const QString &option : parser.optionNames()) {
            const QString longName = option == QLatin1String("output") ? QStringLiteral("o") : option;
            if (!command->options.contains(longName))
                throw UsageError{QStringLiteral("\"%1\" does not take --%2").arg(name, option)};
        }

        Options options;
        options.to = parser.value(QStringLiteral("to"));
        options.output = parser.value(QStringLiteral("o"));
        options.allWells = parser.isSet(QStringLiteral("all-wells"));
        options.ownLetters = parser.isSet(QStringLiteral("own-letters"));
        options.into = parser.value(QStringLiteral("into"));
        options.force = parser.isSet(QStringLiteral("force"));
        options.nameKeys = parser.isSet(QStringLiteral("name-keys"));
        options.sheet = parser.value(QStringLiteral("sheet"));
        options.plate = parser.value(QStringLiteral("plate"));
        options.order = parser.value(QStringLiteral("order"));
        options.teach = parser.values(QStringLiteral("teach"));
        options.calibration = parser.value(QStringLiteral("calibration"));
        options.units = parser.value(QStringLiteral("units"));
        options.xyDevice = parser.isSet(QStringLiteral("xy-device")) ? parser.value(QStringLiteral("xy-device")).trimmed()
                                                                    : DefaultXYDevice;
        if (parser.isSet(QStringLiteral("wells"))) {
            bool ok = false;
            options.wells = parser.value(QStringLiteral("wells")).toInt(&ok);
            if (!ok || !isPlateFormat(options.wells))
                throw UsageError{QStringLiteral("--wells must be one of 24, 48, 96, 384, 1536")};
        }
        if (parser.isSet(QStringLiteral("width"))) {
            bool ok = false;
            options.picture.width = parser.value(QStringLiteral("width")).toInt(&ok);
            if (!ok)
                throw UsageError{QStringLiteral("--width must be a whole number of pixels")};
            options.pictureAsked = true;
        }
        options.picture.title = !parser.isSet(QStringLiteral("no-title"));
        options.picture.legend = !parser.isSet(QStringLiteral("no-legend"));
        options.pictureAsked = options.pictureAsked || !options.picture.title || !options.picture.legend;
        if (parser.isSet(QStringLiteral("o")) && options.output.isEmpty())
            throw UsageError{QStringLiteral("-o needs a file name")};
        return command->run(files, options);
    } catch (const UsageError &usage) {
        err() << usage.message << "\n\n" << parser.helpText();
        return Usage;
    }
}

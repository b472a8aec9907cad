#include "soakchecks.h"

#include "core/plategeometry.h"
#include "core/samplefile.h"
#include "core/state.h"
#include "core/wellsummary.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/colour.h"
#include "platform/grid.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>

#include <cmath>

using namespace Tessar;

namespace SoakChecks {

namespace {

QString colourName(const std::optional<QColor> &colour)
{
    return colour ? colour->name() : QStringLiteral("none");
}

QString shown(const QString &text)
{
    return text.size() > 40 ? u'"' + text.left(40) + QStringLiteral("...\"") : u'"' + text + u'"';
}

} // namespace

QString model(const State &state)
{
    const PlateFormat *format = plateFormat(state.wellCount);
    if (!format)
        return QStringLiteral("wellCount %1 is no plate format").arg(state.wellCount);
    if (state.nRows != format->rows || state.nCols != format->cols)
        return QStringLiteral("the plate of %1 wells is laid out as %2 x %3").arg(state.wellCount).arg(state.nRows).arg(state.nCols);
    if (int(state.spotX.size()) <= state.wellCount || int(state.spotY.size()) <= state.wellCount)
        return QStringLiteral("%1 well positions for %2 wells").arg(state.spotX.size()).arg(state.wellCount);
    if (state.sampleTable.lastSample() != format->lastSample || state.sampleTable.lastField() != format->lastField)
        return QStringLiteral("the table (0 to %1, 0 to %2) is not dimensioned for %3 wells")
            .arg(state.sampleTable.lastSample()).arg(state.sampleTable.lastField()).arg(state.wellCount);
    if (!std::isfinite(state.numField) || state.numField != std::floor(state.numField) || state.numField < MinFields
        || state.numField > MaxFields)
        return QStringLiteral("numField is %1").arg(double(state.numField));
    if (state.topSample < 1 || state.topSample > state.wellCount)
        return QStringLiteral("topSample %1 outside 1 to %2").arg(state.topSample).arg(state.wellCount);
    if (state.curGrid < 0 || state.curGrid >= MaxFrames)
        return QStringLiteral("curGrid is %1").arg(state.curGrid);
    if (state.curRow < 0 || state.curRow >= state.fieldCount())
        return QStringLiteral("curRow %1 outside the %2 rows").arg(state.curRow).arg(state.fieldCount());
    if (!state.sampleTable.contains(state.topSample + state.curGrid, state.curRow))
        return QStringLiteral("the current item, sample %1 row %2, is outside the table")
            .arg(state.topSample + state.curGrid).arg(state.curRow);
    if (state.nFrames < 0 || state.nFrames > MaxFrames)
        return QStringLiteral("nFrames is %1").arg(state.nFrames);
    if (state.fieldName[0] != u"Key")
        return QStringLiteral("the key row is captioned %1").arg(shown(state.fieldName[0]));
    if (state.colorsOn != u"yes" && state.colorsOn != u"no")
        return QStringLiteral("colorsOn is %1").arg(shown(state.colorsOn));
    return QString();
}

QString window(const State &state, MainWindow &window)
{
    // Frames and grids.
    for (int i = 0; i < MaxFrames; ++i) {
        auto *frame = window.findChild<QGroupBox *>(QStringLiteral("fraSample%1").arg(i));
        auto *grid = window.findChild<Grid *>(QStringLiteral("GrdID%1").arg(i));
        if (!frame || !grid)
            return QStringLiteral("frame %1 is missing").arg(i);
        const bool inUse = i < state.nFrames;
        if (frame->isVisibleTo(&window) != inUse)
            return QStringLiteral("frame %1 is %2 with nFrames %3")
                .arg(i).arg(inUse ? QLatin1String("hidden") : QLatin1String("shown")).arg(state.nFrames);
        if (!inUse) {
            if (!frame->title().isEmpty())
                return QStringLiteral("hidden frame %1 is captioned %2").arg(i).arg(shown(frame->title()));
            continue;
        }
        const int s = state.topSample + i;
        QString caption;
        if (s >= 1 && s <= state.wellCount) {
            const WellName name = spotname(state, s);
            caption = QStringLiteral("Row ") + name.letter + QStringLiteral(" , Column  ") + QString::number(name.number);
        }
        if (frame->title() != caption)
            return QStringLiteral("frame %1 (sample %2) is captioned %3, not %4").arg(i).arg(s).arg(shown(frame->title()), shown(caption));
        const int rows = state.fieldCount();
        if (grid->rows() != rows)
            return QStringLiteral("grid %1 has %2 rows for %3 fields").arg(i).arg(grid->rows()).arg(rows);
        for (int f = 0; f < rows; ++f) {
            if (grid->textAt(f, 0) != state.fieldName[std::size_t(f)])
                return QStringLiteral("grid %1 row %2 is captioned %3, not %4")
                    .arg(i).arg(f).arg(shown(grid->textAt(f, 0)), shown(state.fieldName[std::size_t(f)]));
            const QString value = state.sampleTable.contains(s, f) ? state.sampleTable(s, f) : QString();
            if (grid->textAt(f, 1) != value)
                return QStringLiteral("grid %1 (sample %2) row %3 shows %4 where the document holds %5")
                    .arg(i).arg(s).arg(f).arg(shown(grid->textAt(f, 1)), shown(value));
        }
        std::optional<Colour> keyColour;
        if (const int k = state.sampleTable.contains(s, 0) ? keyNamed(state, state.sampleTable(s, 0)) : 0)
            keyColour = state.keyColor[std::size_t(k)];
        if (grid->keyColourAt(0, 1) != keyColour)
            return QStringLiteral("grid %1 (sample %2) shows its key in the wrong colour").arg(i).arg(s);
    }

    auto *vsb = window.findChild<QScrollBar *>(QStringLiteral("vsb"));
    if (vsb->value() != state.topSample)
        return QStringLiteral("the scroll bar stands at %1, topSample is %2").arg(vsb->value()).arg(state.topSample);
    if (vsb->minimum() != 1 || vsb->maximum() != state.wellCount || vsb->pageStep() != std::max(state.nFrames, 1))
        return QStringLiteral("the scroll bar runs %1 to %2 by %3 for %4 wells and %5 frames")
            .arg(vsb->minimum()).arg(vsb->maximum()).arg(vsb->pageStep()).arg(state.wellCount).arg(state.nFrames);

    for (int k = 1; k <= KeyCount; ++k) {
        auto *entry = window.findChild<QAction *>(QStringLiteral("mnuInsertOP%1").arg(k));
        if (entry && entry->text() != state.keyName[std::size_t(k)])
            return QStringLiteral("Insert entry %1 reads %2 for key %3").arg(k).arg(shown(entry->text()), shown(state.keyName[std::size_t(k)]));
    }
    if (auto *assign = window.findChild<QAction *>(QStringLiteral("mnuSetupAssign"));
        assign && assign->isChecked() != (state.colorsOn == u"yes"))
        return QStringLiteral("the check mark of Assign Operator Color is wrong for colorsOn %1").arg(state.colorsOn);
    if (auto *company = window.findChild<QLabel *>(QStringLiteral("LblCompany")); company && company->text() != state.company)
        return QStringLiteral("the company label reads %1 for %2").arg(shown(company->text()), shown(state.company));

    // The map: what it drew, and the image.
    PlateMap &map = window.plateMap();
    PicWell *picture = window.findChild<PicWell *>();
    const double discPixels = picture->toPixelRadius(state.spotRad * 0.666f);
    const int lastFramed = state.topSample + state.nFrames - 1;
    for (int s = 1; s <= state.wellCount; ++s) {
        const WellLook look = map.lookOf(s);
        std::optional<QColor> disc;
        int key = 0;
        if (SampleHasData(state, s)) {
            key = discKey(state, s);
            disc = toQColor(key > 0 ? state.keyColor[std::size_t(key)] : ButtonShadowColour, picture->palette());
        }
        if (look.disc != disc || (disc && look.key != key))
            return QStringLiteral("well %1 (%2) shows disc %3 key %4, its data says %5 key %6")
                .arg(s).arg(spotname(state, s).toString(), colourName(look.disc)).arg(look.key).arg(colourName(disc)).arg(key);
        // Only the selected well has the red ring; a new layout of the map
        // clears it until the next selection, the selection itself is kept.
        const bool red = look.selected || look.ring != QColor(Qt::black);
        if (red && (s != map.litSample() || look.ring != QColor(Qt::red) || !look.selected))
            return QStringLiteral("well %1 has ring %2 while well %3 is selected").arg(s).arg(look.ring.name()).arg(map.litSample());
        const bool framed = s >= state.topSample && s <= lastFramed;
        if (look.framed != framed)
            return QStringLiteral("well %1 is %2 marked as in the frames (samples %3 to %4)")
                .arg(s).arg(look.framed ? QString() : QStringLiteral("not")).arg(state.topSample).arg(lastFramed);
        // The image itself, where a disc is large enough to sample.
        // A numbered disc leaves a free band between its digit and its
        // outline only a pixel or two wide until it is larger than this,
        // too narrow to sample reliably.
        const bool sampleable = look.key > 0 && disc ? discPixels >= 10 : discPixels >= 3;
        if (sampleable && (disc || !framed)) {
            const QColor pixel = map.pixelOf(s);
            const QColor expected = disc ? *disc : picture->backColor();
            if (pixel.isValid() && pixel.rgb() != expected.rgb())
                return QStringLiteral("well %1 is painted %2 where its disc is %3").arg(s).arg(pixel.name(), expected.name());
        }
    }

    // Nothing piles up: dialogs are let go of when they close.
    const qsizetype windows = QApplication::topLevelWidgets().size();
    if (windows > 60)
        return QStringLiteral("%1 top-level windows exist").arg(windows);
    return QString();
}

QByteArray fingerprint(const State &state, const QString &description)
{
    State copy = state;
    copy.fileDesc = description;
    QByteArray print = sampleFileBytes(copy);
    print += "\n--\n";
    for (const QString &caption : state.fieldName)
        print += caption.toUtf8() + '\n';
    print += "--\n";
    const SampleTable &table = state.sampleTable;
    for (int s = 0; s <= table.lastSample(); ++s) {
        for (int f = 0; f <= table.lastField(); ++f) {
            if (!table(s, f).isEmpty())
                print += QByteArray::number(s) + ',' + QByteArray::number(f) + ':' + table(s, f).toUtf8() + '\n';
        }
    }
    return print;
}

QString readsBack(const State &state, const QByteArray &bytes)
{
    State copy = state;
    const ReadResult result = readSampleData(copy, bytes);
    if (!result.ok())
        return QStringLiteral("the file saved reads back only to line %1: %2").arg(result.line).arg(result.reason);
    const QByteArray again = sampleFileBytes(copy);
    if (again == bytes)
        return QString();
    const QList<QByteArray> a = bytes.split('\n');
    const QList<QByteArray> b = again.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QByteArray x = i < a.size() ? a[i] : QByteArray("(end)");
        const QByteArray y = i < b.size() ? b[i] : QByteArray("(end)");
        if (x != y)
            return QStringLiteral("the file saved reads back differently: line %1 was %2, reads back as %3")
                .arg(i + 1).arg(QString::fromLatin1(x.trimmed()), QString::fromLatin1(y.trimmed()));
    }
    return QStringLiteral("the file saved reads back differently");
}

} // namespace SoakChecks

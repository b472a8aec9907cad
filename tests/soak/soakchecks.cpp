#include "soakchecks.h"

#include "readcheck.h"

#include "core/plate/plategeometry.h"
#include "core/files/samplefile.h"
#include "core/plate/wellsummary.h"
#include "mainwindow/mainwindow.h"
#include "plate/picwell.h"
#include "platform/colour.h"
#include "platform/grid.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>


using namespace Tessar;

namespace SoakChecks {

namespace {

QString shown(const QString &text)
{
    return u'"' + (text.size() > 40 ? text.left(40) + QStringLiteral("...") : text) + u'"';
}

QString colourName(const std::optional<QColor> &colour)
{
    return colour ? colour->name() : QStringLiteral("none");
}

} // namespace

QString model(const State &state)
{
    const QStringList problems = invariantProblems(state);
    if (!problems.isEmpty())
        return problems.join(QStringLiteral("; "));
    if (!state.sampleTable.contains(state.topSample + state.curGrid, state.curRow))
        return QStringLiteral("the current item, sample %1 row %2, is outside the table").arg(state.topSample + state.curGrid).arg(state.curRow);
    if (state.nFrames < 0 || state.nFrames > MaxFrames || state.fieldName[0] != u"Key" || (state.colorsOn != u"yes" && state.colorsOn != u"no"))
        return QStringLiteral("nFrames is %1, the key row is captioned %2, colorsOn is %3").arg(state.nFrames).arg(shown(state.fieldName[0]), shown(state.colorsOn));
    return QString();
}

QString window(const State &state, MainWindow &window)
{
    for (int i = 0; i < MaxFrames; ++i) {
        auto *frame = window.findChild<QGroupBox *>(QStringLiteral("fraSample%1").arg(i));
        auto *grid = window.findChild<Grid *>(QStringLiteral("GrdID%1").arg(i));
        const int s = state.topSample + i;
        QString caption;
        if (i < state.nFrames && s <= state.wellCount) {
            const WellName name = spotname(state, s);
            caption = QStringLiteral("Row ") + name.letter + QStringLiteral(" , Column  ") + QString::number(name.number);
        }
        if (frame->isVisibleTo(&window) != (i < state.nFrames) || frame->title() != caption)
            return QStringLiteral("frame %1 is %2, captioned %3, with nFrames %4 and sample %5 in it")
                .arg(i).arg(frame->isVisibleTo(&window) ? QLatin1String("shown") : QLatin1String("hidden"), shown(frame->title()))
                .arg(state.nFrames).arg(s);
        if (i >= state.nFrames)
            continue;
        if (grid->rows() != state.fieldCount())
            return QStringLiteral("grid %1 has %2 rows for %3 fields").arg(i).arg(grid->rows()).arg(state.fieldCount());
        for (int f = 0; f < grid->rows(); ++f) {
            const QString value = state.sampleTable.contains(s, f) ? state.sampleTable(s, f) : QString();
            if (grid->textAt(f, 0) != state.fieldName[std::size_t(f)] || grid->textAt(f, 1) != value)
                return QStringLiteral("grid %1 row %2 shows %3 %4 where the document holds %5 %6 for sample %7")
                    .arg(i).arg(f).arg(shown(grid->textAt(f, 0)), shown(grid->textAt(f, 1)), shown(state.fieldName[std::size_t(f)]),
                                       shown(value)).arg(s);
        }
        std::optional<Colour> keyColour;
        if (const int k = state.sampleTable.contains(s, 0) ? keyNamed(state, state.sampleTable(s, 0)) : 0)
            keyColour = state.keyColor[std::size_t(k)];
        if (grid->keyColourAt(0, 1) != keyColour)
            return QStringLiteral("grid %1 (sample %2) shows its key in the wrong colour").arg(i).arg(s);
    }

    auto *vsb = window.findChild<QScrollBar *>(QStringLiteral("vsb"));
    if (vsb->value() != state.topSample || vsb->minimum() != 1 || vsb->maximum() != state.wellCount
        || vsb->pageStep() != std::max(state.nFrames, 1))
        return QStringLiteral("the scroll bar stands at %1 of %2 to %3 by %4 for sample %5 of %6 wells and %7 frames")
            .arg(vsb->value()).arg(vsb->minimum()).arg(vsb->maximum()).arg(vsb->pageStep())
            .arg(state.topSample).arg(state.wellCount).arg(state.nFrames);
    for (int k = 1; k <= KeyCount; ++k) {
        auto *entry = window.findChild<QAction *>(QStringLiteral("mnuInsertOP%1").arg(k));
        if (entry && entry->text() != state.keyName[std::size_t(k)])
            return QStringLiteral("Insert entry %1 reads %2 for key %3").arg(k).arg(shown(entry->text()), shown(state.keyName[std::size_t(k)]));
    }
    if (auto *assign = window.findChild<QAction *>(QStringLiteral("mnuSetupAssign")); assign && assign->isChecked() != (state.colorsOn == u"yes"))
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
        const int key = SampleHasData(state, s) ? discKey(state, s) : 0;
        if (SampleHasData(state, s))
            disc = toQColor(key > 0 ? state.keyColor[std::size_t(key)] : ButtonShadowColour, picture->palette());
        const bool framed = s >= state.topSample && s <= lastFramed;
        if (look.disc != disc || (disc && look.key != key) || look.framed != framed)
            return QStringLiteral("well %1 (%2) shows disc %3 key %4%5, its data says %6 key %7%8")
                .arg(s).arg(spotname(state, s).toString(), colourName(look.disc)).arg(look.key)
                .arg(look.framed ? QStringLiteral(" framed") : QString(), colourName(disc)).arg(key)
                .arg(framed ? QStringLiteral(" framed") : QString());
        // Only the selected well has the red ring; a new layout of the map
        // clears it until the next selection, the selection itself is kept.
        if ((look.selected || look.ring != QColor(Qt::black)) && (s != map.litSample() || look.ring != QColor(Qt::red) || !look.selected))
            return QStringLiteral("well %1 has ring %2 while well %3 is selected").arg(s).arg(look.ring.name()).arg(map.litSample());
        // The image itself, where a disc is large enough to sample: a
        // numbered disc leaves a band between its digit and its outline
        // too narrow to sample until it is this large.
        const bool sampleable = look.key > 0 && disc ? discPixels >= 10 : discPixels >= 3;
        // An empty well's inside shows the frame's or the selection's mark.
        const QColor pixel = sampleable && (disc || !(framed || look.picked)) ? map.pixelOf(s) : QColor();
        const QColor expected = disc ? *disc : picture->backColor();
        if (pixel.isValid() && pixel.rgb() != expected.rgb())
            return QStringLiteral("well %1 is painted %2 where its disc is %3").arg(s).arg(pixel.name(), expected.name());
    }
    // Nothing piles up: dialogs are let go of when they close.
    if (QApplication::topLevelWidgets().size() > 60)
        return QStringLiteral("%1 top-level windows exist").arg(QApplication::topLevelWidgets().size());
    return QString();
}

QByteArray fingerprint(const State &state, const QString &description)
{
    State copy = state;
    copy.fileDesc = description;
    QByteArray print = sampleFileBytes(copy) + "--\n";
    for (const QString &caption : state.fieldName)
        print += caption.toUtf8() + '\n';
    for (int s = 0; s <= state.sampleTable.lastSample(); ++s) {
        for (int f = 0; f <= state.sampleTable.lastField(); ++f) {
            if (!state.sampleTable(s, f).isEmpty())
                print += QByteArray::number(s) + ',' + QByteArray::number(f) + ':' + state.sampleTable(s, f).toUtf8() + '\n';
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
    return sampleFileBytes(copy) == bytes ? QString() : QStringLiteral("the file saved reads back to another document");
}

} // namespace SoakChecks

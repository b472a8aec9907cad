#include "soakchecks.h"

#include "readcheck.h"
#include "windowdriver.h"

#include "core/plate/plategeometry.h"
#include "core/plate/wellsummary.h"

using namespace Tessar;
using namespace Qt::StringLiterals;

namespace SoakChecks {

namespace {

QString shown(const QString &text)
{
    return u'"' + (text.size() > 40 ? text.left(40) + u"..."_s : text) + u'"';
}

QString colourName(const std::optional<QColor> &colour)
{
    return colour ? colour->name() : u"none"_s;
}

QString model(const State &state)
{
    const QStringList problems = invariantProblems(state);
    if (!problems.isEmpty())
        return problems.join(u"; "_s);
    if (!state.sampleTable.contains(state.topSample + state.curGrid, state.curRow))
        return u"the current item, sample %1 row %2, is outside the table"_s.arg(state.topSample + state.curGrid).arg(state.curRow);
    if (state.nFrames < 0 || state.nFrames > MaxFrames || state.fieldName[0] != u"Key" || (state.colorsOn != u"yes" && state.colorsOn != u"no"))
        return u"nFrames is %1, the key row is captioned %2, colorsOn is %3"_s.arg(state.nFrames).arg(shown(state.fieldName[0]), shown(state.colorsOn));
    return QString();
}

QString frames(const State &state, const WindowDriver &d)
{
    for (int i = 0; i < MaxFrames; ++i) {
        auto *frame = d.child<QGroupBox>(u"fraSample%1"_s.arg(i));
        const int s = state.topSample + i;
        QString caption;
        if (i < state.nFrames && s <= state.wellCount) {
            const WellName name = spotname(state, s);
            caption = u"Row "_s + name.letter + u" , Column  "_s + QString::number(name.number);
        }
        if (frame->isVisibleTo(d.window.get()) != (i < state.nFrames) || frame->title() != caption)
            return u"frame %1 is %2, captioned %3, with nFrames %4 and sample %5 in it"_s
                .arg(i).arg(frame->isVisibleTo(d.window.get()) ? u"shown"_s : u"hidden"_s, shown(frame->title())).arg(state.nFrames).arg(s);
        if (i >= state.nFrames)
            continue;
        Grid *grid = d.grid(i);
        if (grid->rows() != state.fieldCount())
            return u"grid %1 has %2 rows for %3 fields"_s.arg(i).arg(grid->rows()).arg(state.fieldCount());
        for (int f = 0; f < grid->rows(); ++f) {
            const QString value = state.sampleTable.contains(s, f) ? state.sampleTable(s, f) : QString();
            if (grid->textAt(f, 0) != state.fieldName[std::size_t(f)] || grid->textAt(f, 1) != value)
                return u"grid %1 row %2 shows %3 %4 where the document holds %5 %6 for sample %7"_s
                    .arg(i).arg(f).arg(shown(grid->textAt(f, 0)), shown(grid->textAt(f, 1)), shown(state.fieldName[std::size_t(f)]), shown(value)).arg(s);
        }
        std::optional<Colour> keyColour;
        if (const int k = state.sampleTable.contains(s, 0) ? keyNamed(state, state.sampleTable(s, 0)) : 0)
            keyColour = state.keyColor[std::size_t(k)];
        if (grid->keyColourAt(0, 1) != keyColour)
            return u"grid %1 (sample %2) shows its key in the wrong colour"_s.arg(i).arg(s);
    }
    const QScrollBar *vsb = d.scrollBar();
    if (vsb->value() != state.topSample || vsb->minimum() != 1 || vsb->maximum() != state.wellCount || vsb->pageStep() != std::max(state.nFrames, 1))
        return u"the scroll bar stands at %1 of %2 to %3 by %4 for sample %5 of %6 wells and %7 frames"_s
            .arg(vsb->value()).arg(vsb->minimum()).arg(vsb->maximum()).arg(vsb->pageStep()).arg(state.topSample).arg(state.wellCount).arg(state.nFrames);
    for (int k = 1; k <= KeyCount; ++k) {
        auto *entry = d.window->findChild<QAction *>(u"mnuInsertOP%1"_s.arg(k));
        if (entry && entry->text() != state.keyName[std::size_t(k)])
            return u"Insert entry %1 reads %2 for key %3"_s.arg(k).arg(shown(entry->text()), shown(state.keyName[std::size_t(k)]));
    }
    if (d.child<QAction>(u"mnuSetupAssign"_s)->isChecked() != (state.colorsOn == u"yes"))
        return u"the check mark of Assign Operator Color is wrong for colorsOn %1"_s.arg(state.colorsOn);
    if (d.label(u"LblCompany"_s) != state.company)
        return u"the company label reads %1 for %2"_s.arg(shown(d.label(u"LblCompany"_s)), shown(state.company));
    return QString();
}

// What the map drew, and the image.
QString map(const State &state, const WindowDriver &d)
{
    PlateMap &map = d.window->plateMap();
    const PicWell *picture = d.picture();
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
            return u"well %1 (%2) shows disc %3 key %4%5, its data says %6 key %7%8"_s
                .arg(s).arg(spotname(state, s).toString(), colourName(look.disc)).arg(look.key)
                .arg(look.framed ? u" framed"_s : QString(), colourName(disc)).arg(key).arg(framed ? u" framed"_s : QString());
        // Only the selected well has the red ring; a new layout of the map
        // clears it until the next selection, the selection itself is kept.
        if ((look.selected || look.ring != QColor(Qt::black)) && (s != map.litSample() || look.ring != QColor(Qt::red) || !look.selected))
            return u"well %1 has ring %2 while well %3 is selected"_s.arg(s).arg(look.ring.name()).arg(map.litSample());
        // The image itself, where a disc is large enough to sample: a
        // numbered disc leaves a band between its digit and its outline
        // too narrow to sample until it is this large.
        const bool sampleable = look.key > 0 && disc ? discPixels >= 10 : discPixels >= 3;
        // An empty well's inside shows the frame's or the selection's mark.
        const QColor pixel = sampleable && (disc || !(framed || look.picked)) ? d.well(s) : QColor();
        const QColor expected = disc ? *disc : d.background();
        if (pixel.isValid() && pixel.rgb() != expected.rgb())
            return u"well %1 is painted %2 where its disc is %3"_s.arg(s).arg(pixel.name(), expected.name());
    }
    return QString();
}

} // namespace

QString check(const WindowDriver &d)
{
    QString problem = model(d.state);
    if (problem.isEmpty())
        problem = frames(d.state, d);
    if (problem.isEmpty())
        problem = map(d.state, d);
    // Nothing piles up: dialogs are let go of when they close.
    if (problem.isEmpty() && QApplication::topLevelWidgets().size() > 60)
        problem = u"%1 top-level windows exist"_s.arg(QApplication::topLevelWidgets().size());
    return problem;
}

QByteArray fingerprint(const WindowDriver &d)
{
    QByteArray print = d.document() + "--\n";
    for (const QString &caption : d.state.fieldName)
        print += caption.toUtf8() + '\n';
    const SampleTable &table = d.state.sampleTable;
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
        return u"the file saved reads back only to line %1: %2"_s.arg(result.line).arg(result.reason);
    return sampleFileBytes(copy) == bytes ? QString() : u"the file saved reads back to another document"_s;
}

} // namespace SoakChecks

#include "coretest.h"

#include "core/editing/editstep.h"
#include "core/plate/plategeometry.h"
#include "core/files/samplefile.h"

#include <QTest>

using namespace Tessar;

// The steps of the history that a user's commands reach only by chance:
// that each command's Undo and Redo give back exactly the document it began
// or ended with the soak test checks after every action.
class TestDocumentEdit : public QObject
{
    Q_OBJECT

private slots:
    void runsOfTypingMergeIntoOneStep()
    {
        State s = newPlate(24);
        DocumentEdit run;
        for (const QString &text : {QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("abc")}) {
            const EditRecorder r(s, EditRecorder::Scope::Samples, {2});
            s.sampleTable(2, 1) = text;
            QVERIFY(run.absorb(r.finish(s)));
        }
        QCOMPARE(run.cells.size(), std::size_t(1));
        QCOMPARE(run.cells.front().before, QString());
        QCOMPARE(run.cells.front().after, QStringLiteral("abc"));

        // Erased back to where it began: the step is empty.
        const EditRecorder r(s, EditRecorder::Scope::Samples, {2});
        s.sampleTable(2, 1).clear();
        QVERIFY(run.absorb(r.finish(s)));
        QVERIFY(run.isEmpty());

        DocumentEdit replaced;
        replaced.document = std::make_pair(captureDocument(s), captureDocument(s));
        QVERIFY(!run.absorb(replaced));
        QVERIFY(!replaced.absorb(run));

        // Nothing changed, nothing to undo.
        const EditRecorder idle(s, EditRecorder::Scope::AllSamples);
        QVERIFY(idle.finish(s).isEmpty());
    }

    // A replaced document comes back whole: another plate format, other
    // rows, colours, key names and file, and text outside the code page.
    void replacedDocumentsComeBackWhole()
    {
        State s = newPlate(1536);
        s.numField = 10;
        s.keyName[3] = QStringLiteral("QC");
        s.keyColor[3] = 0x123456;
        s.filePath = QStringLiteral("/data/big.kwl");
        s.fileTitle = QStringLiteral("big.kwl");
        s.fileDesc = QStringLiteral("Run \u03b1");
        for (int i = 1; i <= 1536; ++i)
            s.sampleTable(i, i % 10) = QStringLiteral("cell %1 \u2713").arg(i);
        s.sampleTable(1537, 9) = QStringLiteral("frame past the end");
        s.sampleTable(2, s.sampleTable.lastField()) = QStringLiteral("slot past the last row");
        s.topSample = 700;
        const QByteArray big = sampleFileBytes(s);

        const EditRecorder recorder(s, EditRecorder::Scope::Document);
        s.wellCount = 24;
        newDocument(s);
        s.numField = 3;
        s.sampleTable(1, 1) = QStringLiteral("small");
        const DocumentEdit edit = recorder.finish(s);
        const QByteArray small = sampleFileBytes(s);
        QVERIFY(!sameDocument(edit.document->first, edit.document->second));
        // Packed, a full plate takes little more than its text.
        QVERIFY(edit.document->first.size() < 200 * 1024);

        // The file's bytes cover the plate, rows, keys, colours, description
        // and every sample, also the frame past the last well.
        edit.undo(s);
        QCOMPARE(sampleFileBytes(s), big);
        QCOMPARE(s.spotX[1536], 78.75f);
        QCOMPARE(s.topSample, 700);
        QCOMPARE(s.sampleTable(2, s.sampleTable.lastField()), QStringLiteral("slot past the last row"));
        QCOMPARE(s.filePath, QStringLiteral("/data/big.kwl"));
        edit.redo(s);
        QCOMPARE(sampleFileBytes(s), small);
        QCOMPARE(s.topSample, 1);

        // A damaged image never reaches past the table.
        DocumentImage broken = edit.document->first;
        broken.cells.chop(3);
        broken.cells.append(QByteArray(12, '\xff'));
        restoreDocument(s, broken);
        QCOMPARE(s.wellCount, 1536);
    }
};

QTEST_GUILESS_MAIN(TestDocumentEdit)
#include "tst_editstep.moc"

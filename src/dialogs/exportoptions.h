#pragma once

#include <QDialog>

#include <optional>

class QCheckBox;
class QRadioButton;

namespace Tessar {

// What an export of the samples asks before its file: only the samples
// that hold information, or every well of the plate, empty ones too, as a
// run list that must name each position wants it; and on the largest
// plate, whether rows 27 to 32 keep the program's own letters ([ to `)
// rather than the AA to AF that other plate tools read.
struct ExportChoice
{
    bool allWells = false;
    bool ownLetters = false;
};

class ExportOptions : public QDialog
{
    Q_OBJECT

public:
    // `namesWells`: the export names wells by row letters (JSON keeps what
    // the file holds, so it offers no choice of letters).
    ExportOptions(const QString &title, int samplesWithData, int wellCount, ExportChoice initial, bool namesWells,
                  QWidget *parent = nullptr);

    // Nothing for Cancel.
    static std::optional<ExportChoice> run(QWidget *parent, const QString &title, int samplesWithData, int wellCount,
                                           ExportChoice initial, bool namesWells);

    ExportChoice choice() const;

private:
    QRadioButton *mDataOnly = nullptr;
    QRadioButton *mAllWells = nullptr;
    QCheckBox *mOwnLetters = nullptr;   // only on a plate with rows past Z
};

} // namespace Tessar

#pragma once

#include <QDialog>

#include <optional>

class QRadioButton;

namespace Tessar {

// The one choice an export of the samples asks before its file: only the
// samples that hold information, or every well of the plate, empty ones
// too, as a run list that must name each position wants it.
class ExportOptions : public QDialog
{
    Q_OBJECT

public:
    ExportOptions(const QString &title, int samplesWithData, int wellCount, bool allWells, QWidget *parent = nullptr);

    // Whether every well is exported; nothing for Cancel.
    static std::optional<bool> run(QWidget *parent, const QString &title, int samplesWithData, int wellCount,
                                   bool allWells);

    bool allWells() const;

private:
    QRadioButton *mDataOnly = nullptr;
    QRadioButton *mAllWells = nullptr;
};

} // namespace Tessar

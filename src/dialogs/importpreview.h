#pragma once

#include "core/tables/tableimport.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace Tessar {

struct State;

// File > Import Samples: what a table would do to the document, shown
// before anything changes: how many samples it fills, where each of its
// columns goes, the first samples as they will be stored and every problem
// with its line. Giving the keys without a name the table's key names plans
// the import again.
class ImportPreview : public QDialog
{
    Q_OBJECT

public:
    // `source` names where the table comes from: a file name, "the clipboard".
    ImportPreview(const State &state, const TextTable &table, const QString &source, QWidget *parent = nullptr);

    // The plan the user accepted; nothing for Cancel.
    static std::optional<ImportPlan> run(QWidget *parent, const State &state, const TextTable &table,
                                         const QString &source);

    const ImportPlan &plan() const { return mPlan; }

    // How many samples the preview shows in full.
    static constexpr int ShownSamples = 5;

private:
    void replan();
    void showSummary();
    void showColumns();
    void showSamples();
    void showProblems();

    const State &mState;
    const TextTable &mTable;
    const QString mSource;
    ImportPlan mPlan;

    QLabel *mSummary = nullptr;
    QLabel *mOrigin = nullptr;
    QLabel *mColumnsTitle = nullptr;
    QTableWidget *mColumns = nullptr;
    QLabel *mSamplesTitle = nullptr;
    QTableWidget *mSamples = nullptr;
    QLabel *mProblemsTitle = nullptr;
    QTreeWidget *mProblems = nullptr;
    QCheckBox *mNameKeys = nullptr;
    QPushButton *mOk = nullptr;
};

} // namespace Tessar

#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace Tessar {

struct State;

// List Samples by Key: for one key, every sample that has it with its
// position and description; for "All", how many samples each named key has.
// Reads the document and changes nothing.
class StatDialog : public QDialog
{
    Q_OBJECT

public:
    explicit StatDialog(const State &state, QWidget *parent = nullptr);

    // Shows the dialog modally and returns once it is closed.
    static void run(QWidget *parent, const State &state);

private:
    void rebuild();

    const State &mState;
    QComboBox *mCombo1 = nullptr;
    QPlainTextEdit *mText1 = nullptr;
    QLabel *mStatus = nullptr;
};

} // namespace Tessar

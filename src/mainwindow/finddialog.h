#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Tessar {

struct State;

// Search > Find asks for the text here. OK (or Enter in the text box)
// keeps the text as the one searched for; Cancel keeps the earlier one.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindDialog(State &state, QWidget *parent = nullptr);

    // Shows the dialog modally and returns once it is closed, however that
    // happened; the caller searches for findText afterwards.
    static void run(QWidget *parent, State &state);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void accepted();

    State &mState;
    QLabel *mLabel1 = nullptr;
    QLineEdit *mText1 = nullptr;
    QPushButton *mOkBtn = nullptr;
    QPushButton *mCancelBtn = nullptr;
};

} // namespace Tessar

#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Tessar {

class Grid;
struct State;

// Setup > Configure: the company name, the rows per sample, their captions
// and the key names. The row count takes effect the moment it changes;
// captions, key names and the company only on OK.
class ConfigDialog : public QDialog
{
    Q_OBJECT

public:
    ConfigDialog(State &state, std::function<void()> saveSettings, QWidget *parent = nullptr);

    // Shows the dialog modally and returns once it is closed, however that
    // happened. The caller then shows the company and key names and lays
    // itself out again: the row count may have changed even on Cancel.
    static void run(QWidget *parent, State &state, std::function<void()> saveSettings);

private:
    void createControls();
    void setTabOrder();
    void fieldCountChanged();
    void sizeform();
    void placeTip();
    bool cellEditable(const Grid *grid) const;
    void gridKeyDown(Grid *grid, int key);
    void gridKeyPress(Grid *grid, QChar character);
    void accepted();

    State &mState;
    std::function<void()> mSaveSettings;
    bool mChangingCount = false;

    QGroupBox *mFraheader = nullptr;
    QLineEdit *mText1 = nullptr;
    QComboBox *mCboNField = nullptr;
    QGroupBox *mFraField = nullptr;
    Grid *mGrdfield = nullptr;
    QGroupBox *mFraOp = nullptr;
    Grid *mGrdOp = nullptr;
    QPushButton *mOkBtn = nullptr;
    QPushButton *mCancelBtn = nullptr;
    QGroupBox *mFraTip = nullptr;
    QLabel *mLabel8 = nullptr;
};

} // namespace Tessar

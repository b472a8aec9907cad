#include "finddialog.h"

#include "core/document/state.h"
#include "dialogs/screencentre.h"
#include "platform/closeonly.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tessar {

FindDialog::FindDialog(State &state, QWidget *parent)
    : QDialog(parent)
    , mState(state)
{
    setObjectName(QStringLiteral("FindFrm"));
    setWindowTitle(QStringLiteral("Find"));
    offerCloseOnly(this);

    mLabel1 = new QLabel(QStringLiteral("Find What"), this);
    mLabel1->setObjectName(QStringLiteral("Label1"));
    mText1 = new QLineEdit(mState.findText, this);
    mText1->setObjectName(QStringLiteral("Text1"));
    mText1->setMinimumWidth(mText1->fontMetrics().averageCharWidth() * 32);
    mText1->installEventFilter(this);
    mLabel1->setBuddy(mText1);

    mOkBtn = new QPushButton(QStringLiteral("OK"), this);
    mOkBtn->setObjectName(QStringLiteral("OK_Btn"));
    // Enter in the text box presses OK.
    mOkBtn->setDefault(true);
    mCancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(mOkBtn, &QPushButton::clicked, this, &FindDialog::accepted);
    connect(mCancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(mOkBtn);
    buttons->addWidget(mCancelBtn);
    buttons->addStretch();
    auto *layout = new QGridLayout(this);
    layout->addWidget(mLabel1, 0, 0);
    layout->addWidget(mText1, 1, 0);
    layout->setRowStretch(2, 1);
    layout->addLayout(buttons, 0, 1, 3, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FindDialog::run(QWidget *parent, State &state)
{
    FindDialog dialog(state, parent);
    centreOnScreen(&dialog, parent);
    dialog.exec();
}

bool FindDialog::eventFilter(QObject *watched, QEvent *event)
{
    // However the box is entered, typing replaces the earlier text.
    if (watched == mText1 && event->type() == QEvent::FocusIn)
        mText1->selectAll();
    return QDialog::eventFilter(watched, event);
}

void FindDialog::accepted()
{
    mState.findText = mText1->text();
    accept();
}

} // namespace Tessar

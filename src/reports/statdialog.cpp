#include "statdialog.h"

#include "core/reports/listing.h"
#include "dialogs/screencentre.h"
#include "platform/twips.h"
#include "platform/closeonly.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace Tessar {

StatDialog::StatDialog(const State &state, QWidget *parent)
    : QDialog(parent)
    , mState(state)
{
    setObjectName(QStringLiteral("Stat"));
    setWindowTitle(QStringLiteral("List Samples by Key"));
    offerCloseOnly(this);
    setFixedSize(twipsToPixels(5400), twipsToPixels(5520));

    auto *label1 = new QLabel(QStringLiteral("Key"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twipsRect(120, 180, 600, 255));

    mCombo1 = new QComboBox(this);
    mCombo1->setObjectName(QStringLiteral("Combo1"));
    mCombo1->setEditable(true);
    mCombo1->setInsertPolicy(QComboBox::NoInsert);
    mCombo1->setGeometry(twipsRect(780, 120, 2775, 315));

    mText1 = new QPlainTextEdit(this);
    mText1->setObjectName(QStringLiteral("Text1"));
    mText1->setReadOnly(true);
    mText1->setLineWrapMode(QPlainTextEdit::NoWrap);
    mText1->setGeometry(twipsRect(120, 600, 5160, 4380));

    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("status"));
    mStatus->setGeometry(twipsRect(120, 5100, 5160, 255));

    {
        const QSignalBlocker blocker(mCombo1);
        mCombo1->addItems(listingChoices(mState));
        mCombo1->setEditText(QString::fromLatin1(AllKeysChoice));
    }
    // A typed choice lists as well: a text that is no key name lists nothing.
    connect(mCombo1, &QComboBox::editTextChanged, this, &StatDialog::rebuild);
    connect(mCombo1, &QComboBox::activated, this, &StatDialog::rebuild);
    rebuild();
}

void StatDialog::run(QWidget *parent, const State &state)
{
    StatDialog dialog(state, parent);
    centreOnScreen(&dialog, parent);
    dialog.exec();
}

void StatDialog::rebuild()
{
    setCursor(Qt::WaitCursor);
    mStatus->setText(QStringLiteral("Finding Samples"));
    mText1->clear();

    const KeyListing listing = listSamplesByKey(mState, mCombo1->currentText());
    // The listing's lines end in CR LF, as the program has always produced
    // them; the text box shows one line per pair.
    QString shown = listing.text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    mText1->setPlainText(shown);

    unsetCursor();
    mStatus->setText(listing.status);
}

} // namespace Tessar

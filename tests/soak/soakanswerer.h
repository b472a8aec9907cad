#pragma once

#include "soakrandom.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QDialog;
class QWidget;

// Answers whatever modal dialog the program puts up, one stroke or click
// at a time through the real input path: the dialogs it knows with edits
// a user would make in them (and some a user should not), any other with
// Escape, Return or a click on one of its buttons. A dialog still open
// after MaxAnswers answers is a failure that names it; the answerer then
// closes it so that the run can report instead of hanging.
class SoakAnswerer : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxAnswers = 60;
    static constexpr int EagerAfter = 12;    // from then on every answer tries to close
    static constexpr int MaxPerAction = 400; // dialogs that keep coming back

    struct Seen
    {
        QString name;   // object name, else class name
        QString title;
        QString text;   // a message box's text
        QStringList steps;
    };

    // `cellText` gives a text from the document now and then, for Find to find.
    SoakAnswerer(SoakRandom &random, std::function<QString()> cellText, QObject *parent = nullptr);

    // The dialogs answered since the last call, in the order they came up.
    QList<Seen> takeSeen();
    QString failure() const { return mFailure; }

private:
    void tick();
    void step(QWidget *modal);
    void fail(QWidget *modal, const QString &why);
    int seenFor(QWidget *modal);   // index in mSeen
    QString typeable();
    QString describe(QWidget *widget) const;

    QString answerConfig(QDialog *dialog, bool eager);
    QString answerColor(QDialog *dialog, bool eager);
    QString answerChooser(QDialog *dialog, bool eager);
    QString answerFind(QDialog *dialog, bool eager);
    QString answerStat(QDialog *dialog, bool eager);
    QString answerRecover(QDialog *dialog, bool eager);
    QString answerAbout(QDialog *dialog, bool eager);
    QString answerGeneric(QWidget *dialog, bool eager, int attempts);
    QString closeKnown(QDialog *dialog, const char *ok, const char *cancel);
    QString typeInto(QWidget *target, const QString &text);

    SoakRandom &mRandom;
    std::function<QString()> mCellText;
    QTimer mTimer;
    bool mStepQueued = false;
    QList<std::pair<QPointer<QWidget>, int>> mAttempts;
    QList<std::pair<QPointer<QWidget>, int>> mSeenIndex;
    QList<Seen> mSeen;
    int mAnswersThisAction = 0;
    QString mFailure;
};

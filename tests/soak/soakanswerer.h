#pragma once

#include "soakrandom.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

// Answers whatever modal dialog the program puts up, one stroke or click
// at a time through the real input path: the dialogs it knows (a table of
// dialog kinds) with edits a user would make in them, and some a user
// should not; any other with Escape, Return or a click on one of its
// buttons. A dialog still open after MaxAnswers answers is a failure that
// names it; the answerer then closes it so that the run reports instead
// of hanging.
class SoakAnswerer : public QObject
{
public:
    static constexpr int MaxAnswers = 60;
    static constexpr int EagerAfter = 12;    // from then on every answer tries to close
    static constexpr int MaxPerAction = 400; // dialogs that keep coming back

    struct Seen
    {
        QString name;   // object name, else class name
        QString text;   // a message box's text
        QStringList steps;
        QPointer<QWidget> dialog;
        int answers = 0;
    };

    // `cellText` gives a text from the document now and then, for Find to find.
    SoakAnswerer(SoakRandom &random, std::function<QString()> cellText);

    // The dialogs answered since the last call, in the order they came up.
    QList<Seen> takeSeen();
    QString failure() const { return mFailure; }

private:
    void step(QWidget *modal);
    QString answerKnown(QWidget *dialog, const struct DialogKind &kind, bool eager);
    QString answerOther(QWidget *dialog, bool eager, int answers);
    QString close(QWidget *dialog, const char *ok, const char *cancel);

    SoakRandom &mRandom;
    std::function<QString()> mCellText;
    QTimer mTimer;
    bool mStepQueued = false;
    QList<Seen> mSeen;
    int mAnswersThisAction = 0;
    QString mFailure;
};

#pragma once

#include <QString>
#include <QStringView>

namespace Tessar {

// A text as a sample file stores it. The file has no escape character and
// holds Windows-1252 only, so Save writes a double quote as an apostrophe, a
// line break as a blank and any other character as a question mark. A tab or
// other control character would split the value into two cells of Copy All
// or go unseen on screen, so it becomes a blank too; a CR LF pair is one line
// break and one blank. Texts
// that come in from outside are given that form at once, so the document
// never shows what the next Save would change.
struct StoredText
{
    enum Change {
        Unchanged = 0,
        Quote = 1,          // a double quote became an apostrophe
        LineBreak = 2,      // a CR or LF became a blank
        OutsideCodePage = 4, // a character outside Windows-1252 became '?'
        Control = 8,        // a tab or other control character became a blank
    };

    QString text;
    int changes = Unchanged;    // the Change flags that apply
    int controls = 0;           // how many control characters became blanks
};

StoredText storedText(QStringView text);
// The same; a text that needs no change is shared, not copied.
StoredText storedText(const QString &text);

} // namespace Tessar

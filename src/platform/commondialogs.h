#pragma once

#include "core/document/state.h"

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

namespace Tessar {

// The platform dialogs the program asks questions through. Every request is
// modal; an empty result means the user cancelled. Tests install their own
// answers with setInstance().
class CommonDialogs
{
public:
    struct FileRequest
    {
        QString title;                      // "Open File" or "Save File As"
        QString fileName;                   // initial name pattern, "*.kwl"
        QString defaultExt;                 // appended to a name typed without one
        QString filter;                     // "Tessar File (*.kwl)|*.kwl|All Files (*.*)|*.*|"
        QString initDir;
        int filterIndex = 1;                // 1-based
        bool confirmOverwrite = false;      // a Save dialog asks before replacing a file
    };

    virtual ~CommonDialogs() = default;

    // Full path of the file chosen.
    virtual std::optional<QString> showOpen(QWidget *parent, const FileRequest &request) = 0;
    virtual std::optional<QString> showSave(QWidget *parent, const FileRequest &request) = 0;

    // Opens on `initial` and withholds custom colours.
    virtual std::optional<Colour> showColor(QWidget *parent, const QString &title, Colour initial) = 0;

    // Sets up `printer`; returns the number of copies chosen. A page range
    // set on the printer beforehand is the pages there are to choose from;
    // the one chosen is the printer's print range.
    virtual std::optional<int> showPrinter(QWidget *parent, QPrinter &printer) = 0;

    // The dialogs in use: the platform's, unless a test installed others.
    static CommonDialogs &instance();
    static void setInstance(CommonDialogs *dialogs);   // nullptr restores the platform's

    // "desc|pattern|desc|pattern|" as name filters for QFileDialog.
    static QStringList convertFilter(const QString &filter);
};

} // namespace Tessar

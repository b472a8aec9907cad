#include "mainwindow.h"

#include "core/editing/search.h"
#include "finddialog.h"
#include "platform/grid.h"

#include <QMessageBox>
#include <QScrollBar>

namespace Tessar {

void MainWindow::mnuSearchFind_Click()
{
    FindDialog::run(this, mState);
    // Cancel leaves the earlier text, which is then searched for again.
    if (!mState.findText.isEmpty())
        searchFrom(findStart(mState));
}

void MainWindow::mnuSearchFindNext_Click()
{
    if (mState.findText.isEmpty())
        return;
    searchFrom(findNextStart(mState));
}

// A search given up changes nothing: the frames keep showing the samples
// that typing and the Edit commands act on.
void MainWindow::searchFrom(const SearchStart &start)
{
    const auto askRestart = [this] {
        QMessageBox question(QMessageBox::Question, notFoundTitle(), notFoundQuestion(),
                             QMessageBox::Yes | QMessageBox::No, this);
        question.setObjectName(QStringLiteral("Search"));
        return question.exec() == QMessageBox::Yes;
    };
    const SearchHit hit = runSearch(mState, mState.findText, start, askRestart);
    if (!hit.found)
        return;
    gridAt(0)->setRow(hit.field);
    fillsample(mState.topSample);
    vsb->setValue(mState.topSample);
}

} // namespace Tessar

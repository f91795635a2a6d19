#include "search/WalkSession.h"

#include "platform/FileNames.h"
#include "platform/PictureBox.h"
#include "platform/StatusLine.h"
#include "search/ResultList.h"
#include "search/SearchTexts.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace search {

WalkSession::WalkSession(WalkView view, platform::StatusLine &status)
    : view_(view)
    , status_(status)
{
    status_.addDeferred([this] { pushTotals(); }, [this] { pendingTotals_.reset(); });
    status_.addDeferred([this] { view_.list->flushPending(); });
}

void WalkSession::begin()
{
    walking_ = true;
    control_.start();
    status_.drop();
    view_.list->Clear();
    view_.preview->clearPicture();
    view_.list->setBackColor(kWalkedListColour);
    view_.counts->show();
    view_.counts->clear();
    view_.sizes->clear();
    view_.sizes->show();
}

std::int64_t WalkSession::walk(QString &folder, const QString &patterns, int &fileCount, int &dirCount)
{
    try {
        return FindFilesAPI(*this, folder, patterns, fileCount, dirCount);
    } catch (const CounterOverflow &overflow) {
        return overflow.listedSize;
    }
}

void WalkSession::end()
{
    walking_ = false;
    status_.push();
    view_.list->show();
    searchIdle_ = true;
}

bool WalkSession::showListWhileSearching()
{
    return view_.showList->isChecked();
}

bool WalkSession::previewWhileSearching()
{
    return view_.previewPictures->isChecked();
}

void WalkSession::setListVisible(bool visible)
{
    if (view_.list->isVisibleTo(view_.list->parentWidget()) != visible)
        view_.list->setVisible(visible);
}

void WalkSession::setSearchStatus(const QString &text)
{
    status_.defer(platform::shownFileName(text));
}

void WalkSession::appendEntry(const QString &entry)
{
    view_.list->AddItem(entry);
}

void WalkSession::selectLastEntry()
{
    view_.list->selectNewestOnFlush();
}

void WalkSession::showWalkTotals(int fileCount, int dirCount, const QString &folder, std::int64_t folderSize)
{
    pendingTotals_ = Totals{fileCount, dirCount, folder, folderSize};
}

void WalkSession::yieldToEvents()
{
    status_.yieldIfDue();
}

void WalkSession::pushTotals()
{
    if (!pendingTotals_)
        return;
    const Totals &t = *pendingTotals_;
    view_.counts->setText(countsText(t.fileCount, t.dirCount));
    view_.sizes->setPlainText(walkSizeText(platform::shownFileName(t.folder), t.folderSize));
    pendingTotals_.reset();
}

}  // namespace search

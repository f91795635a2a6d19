#include "search/WalkSession.h"

#include "platform/FileNames.h"
#include "platform/FrameClock.h"
#include "platform/PictureBox.h"
#include "platform/StatusLine.h"
#include "platform/WorkerThread.h"
#include "search/ResultList.h"
#include "search/SearchTexts.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace search {

WalkSession::WalkSession(WalkView view, platform::StatusLine &status, WalkSettings settings)
    : view_(view)
    , status_(status)
    , settings_(std::move(settings))
    , clock_(settings_.clock ? settings_.clock : platform::systemFrameClock())
{
}

WalkSession::~WalkSession()
{
    abandon();
}

void WalkSession::begin()
{
    abandon();
    view_.list->Clear();
    view_.preview->clearPicture();
    view_.list->setBackColor(kWalkedListColour);
    view_.counts->show();
    view_.counts->clear();
    view_.sizes->clear();
    view_.sizes->show();
}

void WalkSession::start(const QString &folder, const QString &patterns,
                        std::function<void(const WalkOutcome &)> whenEnded, const QDateTime &now)
{
    abandon();
    control_.start();
    shown_ = WalkOutcome{};
    shown_.folder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    whenEnded_ = std::move(whenEnded);
    appliedAt_ = -1;
    const unsigned generation = ++generation_;
    WalkOptions options;
    options.readers = settings_.readers;
    options.beforeRead = settings_.beforeRead;
    options.countLimit = settings_.countLimit;
    options.reads = reads_;
    options.now = now;
    walk_ = std::make_unique<BackgroundWalk>(shown_.folder, patterns, options, [this, generation](bool ended) {
        // On the walk's thread: the window takes the batch when it next delivers events.
        platform::deliverTo(&receiver_, [this, generation, ended] {
            if (generation == generation_)
                wake(ended);
        });
    });
}

// A batch is taken at most once a frame; the last one at once, so the summary
// shows as soon as the walk is over.
void WalkSession::wake(bool ended)
{
    if (!walk_)
        return;
    const qint64 wait = appliedAt_ < 0 ? 0 : settings_.frameMs - (clock_->nowMs() - appliedAt_);
    if (ended || wait <= 0)
        applyBatch();
    else if (!clock_->pending())
        clock_->callAfter(int(wait), [this] { applyBatch(); });
}

void WalkSession::applyBatch()
{
    clock_->cancel();
    if (!walk_)
        return;
    WalkBatch batch = walk_->take();
    appliedAt_ = clock_->nowMs();
    ResultList &list = *view_.list;
    if (batch.folderRead) {
        const bool visible = view_.showList->isChecked();
        if (list.isVisibleTo(list.parentWidget()) != visible)
            list.setVisible(visible);
    }
    if (!batch.entries.isEmpty()) {
        list.AddItems(batch.entries);
        if (view_.previewPictures->isChecked())
            list.selectNewestOnFlush();
    }
    if (batch.status)
        status_.setText(platform::shownFileName(*batch.status));
    if (batch.totals) {
        view_.counts->setText(countsText(batch.totals->fileCount, batch.totals->dirCount));
        view_.sizes->setPlainText(walkSizeText(platform::shownFileName(batch.totals->folder), batch.totals->folderSize));
    }
    shown_.fileCount = batch.fileCount;
    shown_.dirCount = batch.dirCount;
    shown_.total = batch.listedSize;
    if (batch.ended) {
        shown_.cut = batch.cut;
        finish();
        return;
    }
    // The walk's own selection of its newest entry does not stop a picture being decoded.
    list.flushPending();
}

void WalkSession::stop()
{
    control_.stop();
    if (walk_)
        finish();
}

void WalkSession::abandon()
{
    clock_->cancel();
    control_.end();
    walk_.reset();
    whenEnded_ = nullptr;
}

void WalkSession::finish()
{
    clock_->cancel();
    control_.end();
    walk_.reset();  // not walking any more: the last selection stops a decode like a person's
    view_.list->flushPending();
    view_.list->show();
    searchIdle_ = true;
    shown_.stopped = control_.StopRequested;
    if (std::function<void(const WalkOutcome &)> whenEnded = std::exchange(whenEnded_, nullptr))
        whenEnded(shown_);
}

}  // namespace search

#include "search/BackgroundWalk.h"

#include "platform/WorkerThread.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace search {

struct BackgroundWalk::Shared final : WalkSink {
    std::atomic<bool> stopping{false};
    std::function<void(bool)> wake;
    std::mutex mutex;
    WalkBatch ready;      // handed over, not yet taken
    bool woken = false;   // the receiver was woken for `ready`
    WalkBatch gathering;  // the walk's thread alone

    void handOver(bool ended)
    {
        {
            // The receiver is woken under the lock: once stop() has returned, no wake
            // is under way and none will come, so the receiver may go.
            const std::lock_guard lock(mutex);
            if (ready.entries.isEmpty())
                ready.entries = std::move(gathering.entries);
            else
                ready.entries.append(gathering.entries);
            if (gathering.status)
                ready.status = std::move(gathering.status);
            if (gathering.totals)
                ready.totals = std::move(gathering.totals);
            ready.folderRead = ready.folderRead || gathering.folderRead;
            ready.fileCount = gathering.fileCount;
            ready.dirCount = gathering.dirCount;
            ready.listedSize = gathering.listedSize;
            ready.ended = ended;
            ready.cut = gathering.cut;
            if ((!woken || ended) && !stopping.load(std::memory_order_relaxed))
                wake(ended);
            woken = true;
        }
        gathering.entries.clear();  // handed over whole: the walk starts fresh blocks
        gathering.status.reset();
        gathering.totals.reset();
        gathering.folderRead = false;
    }

    // WalkSink, on the walk's thread.
    void folderRead() override { gathering.folderRead = true; }
    void status(const QString &text) override { gathering.status = text; }
    void folderFound(int dirCount) override { gathering.dirCount = dirCount; }
    void listed(std::string_view entry, const WalkTotals &totals) override
    {
        gathering.entries.append(entry);
        gathering.fileCount = totals.fileCount;
        gathering.dirCount = totals.dirCount;
        gathering.listedSize = totals.listedSize;
        // The folder's text changes once a folder, the figures with every entry.
        if (!gathering.totals || !gathering.totals->folder.isSharedWith(totals.folder))
            gathering.totals = totals;
        gathering.totals->fileCount = totals.fileCount;
        gathering.totals->dirCount = totals.dirCount;
        gathering.totals->folderSize = totals.folderSize;
        gathering.totals->listedSize = totals.listedSize;
    }
    void checkpoint() override
    {
        if (!gathering.entries.isEmpty() || gathering.status)
            handOver(false);
    }
    bool stopRequested() const override { return stopping.load(std::memory_order_relaxed); }

    static void run(const std::shared_ptr<Shared> &self, QString folder, const QString &patterns,
                    const WalkOptions &options)
    {
        platform::giveWayToTheWindow();
        int files = 0;
        int dirs = 0;
        WalkCut cut = WalkCut::None;
        try {
            FindFilesAPI(*self, folder, patterns, files, dirs, options, &cut);
        } catch (const std::bad_alloc &) {
            cut = WalkCut::OutOfMemory;  // gathering what it found
        }
        self->gathering.cut = cut;
        try {
            self->handOver(true);
        } catch (const std::bad_alloc &) {
            // What was gathered since the last batch is lost; the end is told.
            self->gathering.entries.clear();
            self->gathering.cut = WalkCut::OutOfMemory;
            self->handOver(true);
        }
    }
};

BackgroundWalk::BackgroundWalk(const QString &folder, const QString &patterns, const WalkOptions &options,
                               std::function<void(bool)> wake)
    : shared_(std::make_shared<Shared>())
{
    shared_->wake = std::move(wake);
    std::thread(&Shared::run, shared_, folder, patterns, options).detach();
}

BackgroundWalk::~BackgroundWalk()
{
    stop();
}

WalkBatch BackgroundWalk::take()
{
    const std::lock_guard lock(shared_->mutex);
    // Every batch handed over carries the walk's figures as they stand: no take
    // comes without a hand-over before it.
    WalkBatch batch = std::move(shared_->ready);
    shared_->ready = WalkBatch{};
    shared_->woken = false;
    return batch;
}

void BackgroundWalk::stop()
{
    const std::lock_guard lock(shared_->mutex);
    shared_->stopping.store(true, std::memory_order_relaxed);
}

}  // namespace search

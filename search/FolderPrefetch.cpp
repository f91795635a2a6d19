#include "search/FolderPrefetch.h"

#include "platform/WorkerThread.h"
#include "search/FileFinder.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace search {

struct FolderPrefetch::Shared {
    const WalkQuery query;
    std::mutex mutex;
    std::condition_variable work;  // readers wait here
    std::condition_variable ready; // the walk waits here
    std::map<WalkPlace, FolderJob> waiting;  // known, not yet read; first in the walk's order first
    std::map<WalkPlace, std::shared_ptr<const FolderScan>> done;  // read, not yet taken
    int reading = 0;
    std::optional<WalkPlace> wanted;  // what the walk waits for
    std::atomic<bool> finished{false};  // written under the lock, read without it while a folder waits

    explicit Shared(WalkQuery q) : query(std::move(q)) {}

    // The walk's own need goes past the window: it never waits on work it did not ask for.
    bool mayRead() const
    {
        if (waiting.empty())
            return false;
        return reading + int(done.size()) < kWindow || (wanted && waiting.begin()->first == *wanted);
    }

    static void read(const std::shared_ptr<Shared> &self)
    {
        platform::giveWayToTheWindow();
        std::unique_lock lock(self->mutex);
        for (;;) {
            self->work.wait(lock, [&] { return self->finished || self->mayRead(); });
            if (self->finished)
                return;
            const FolderJob job = std::move(self->waiting.begin()->second);
            self->waiting.erase(self->waiting.begin());
            ++self->reading;
            lock.unlock();
            std::shared_ptr<const FolderScan> scan =
                sharedScan(job, self->query, [&self] { return self->finished.load(); });
            lock.lock();
            --self->reading;
            if (self->finished || !scan)
                return;
            for (const FolderJob &sub : scan->subfolders)
                self->waiting.emplace(sub.place, sub);
            self->done.emplace(job.place, std::move(scan));
            self->ready.notify_all();
            self->work.notify_all();
        }
    }
};

FolderPrefetch::FolderPrefetch(WalkQuery query, int readers, const FolderJob &root,
                               std::function<bool()> stopRequested)
    : shared_(std::make_shared<Shared>(std::move(query)))
    , stopRequested_(std::move(stopRequested))
{
    shared_->waiting.emplace(root.place, root);
    for (int i = 0; i < readers; ++i)
        std::thread(&Shared::read, shared_).detach();
}

FolderPrefetch::~FolderPrefetch()
{
    const std::lock_guard lock(shared_->mutex);
    shared_->finished = true;
    shared_->waiting.clear();
    shared_->done.clear();
    shared_->work.notify_all();
}

std::shared_ptr<const FolderScan> FolderPrefetch::take(const FolderJob &job)
{
    using namespace std::chrono_literals;
    std::unique_lock lock(shared_->mutex);
    shared_->wanted = job.place;
    shared_->work.notify_all();
    for (;;) {
        if (stopRequested_())
            return nullptr;
        const auto found = shared_->done.find(job.place);
        if (found != shared_->done.end()) {
            std::shared_ptr<const FolderScan> scan = std::move(found->second);
            shared_->done.erase(found);
            shared_->wanted.reset();
            shared_->work.notify_all();  // a place in the window came free
            return scan;
        }
        shared_->ready.wait_for(lock, 20ms);
    }
}

}  // namespace search

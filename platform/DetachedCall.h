#pragma once

#include "platform/WorkerThread.h"

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

// Calls into the file system that may never return (a share whose server went
// away holds them in the kernel for good) run each on a thread of its own that
// nobody waits for. The answer reaches `receiver` on its thread when its events
// are next delivered; once the caller is destroyed no answer comes, and a call
// still held just ends unheard when the kernel lets it go.
class DetachedCalls {
public:
    explicit DetachedCalls(QObject *receiver) : shared_(std::make_shared<Shared>(receiver)) {}
    ~DetachedCalls()
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->receiver = nullptr;
    }
    DetachedCalls(const DetachedCalls &) = delete;
    DetachedCalls &operator=(const DetachedCalls &) = delete;

    template <typename Result>
    void run(std::function<Result()> work, std::function<void(Result)> answer)
    {
        std::thread([shared = shared_, work = std::move(work), answer = std::move(answer)]() mutable {
            Result result = work();
            // Posted under the lock: after the destructor no post is under way.
            const std::lock_guard lock(shared->mutex);
            if (shared->receiver)
                deliverTo(shared->receiver, [answer = std::move(answer), result = std::move(result)]() mutable {
                    answer(std::move(result));
                });
        }).detach();
    }

private:
    struct Shared {
        explicit Shared(QObject *r) : receiver(r) {}
        std::mutex mutex;
        QObject *receiver;
    };
    std::shared_ptr<Shared> shared_;
};

}  // namespace platform

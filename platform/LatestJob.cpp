#include "platform/LatestJob.h"

namespace platform {

LatestJob::LatestJob()
    : thread_([this] { run(); })
{
}

LatestJob::~LatestJob()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_ = nullptr;
    }
    wake_.notify_one();
    thread_.join();
}

void LatestJob::post(std::function<void()> job)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(job);
    }
    wake_.notify_one();
}

void LatestJob::dropWaiting()
{
    const std::lock_guard lock(mutex_);
    waiting_ = nullptr;
}

void LatestJob::run()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || waiting_; });
            if (stopping_)
                return;
            job = std::exchange(waiting_, nullptr);
        }
        job();
    }
}

}  // namespace platform

#include "platform/WorkerThread.h"

#include <sys/resource.h>
#include <unistd.h>

namespace platform {

WorkerThread::WorkerThread(Policy policy)
    : policy_(policy)
    , thread_([this] { run(); })
{
}

WorkerThread::~WorkerThread()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    wake_.notify_one();
    thread_.join();
}

void WorkerThread::post(std::function<void()> job)
{
    {
        const std::lock_guard lock(mutex_);
        if (policy_ == Policy::NewestOnly)
            waiting_.clear();
        waiting_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WorkerThread::dropWaiting()
{
    const std::lock_guard lock(mutex_);
    waiting_.clear();
}

void WorkerThread::run()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
            if (stopping_)
                return;
            job = std::move(waiting_.front());
            waiting_.pop_front();
        }
        job();
    }
}

void giveWayToTheWindow()
{
    // On Linux the nice value is each thread's own.
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), kWalkNiceness);
}

}  // namespace platform

#pragma once

#include <QMetaObject>
#include <QObject>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

// A thread of its own that runs only the newest job: a job posted while another
// waits replaces it, so work that was superseded before it could start is never
// done. The job running when a new one arrives finishes; its result is for the
// receiver to recognise as stale. Destroying the worker drops what waits and
// waits for the running job.
class LatestJob {
public:
    LatestJob();
    ~LatestJob();
    LatestJob(const LatestJob &) = delete;
    LatestJob &operator=(const LatestJob &) = delete;

    void post(std::function<void()> job);
    // Drops the job that waits, if any.
    void dropWaiting();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::function<void()> waiting_;
    bool stopping_ = false;
    std::thread thread_;  // last: started once everything it reads exists
};

// Runs `call` on the thread of `receiver` when its events are next delivered;
// nothing happens when the receiver is gone by then.
template <typename Call>
void deliverTo(QObject *receiver, Call &&call)
{
    QMetaObject::invokeMethod(receiver, std::forward<Call>(call), Qt::QueuedConnection);
}

}  // namespace platform

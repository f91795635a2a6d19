#pragma once

#include <QMetaObject>
#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

// A thread of its own that runs the jobs posted to it, one at a time. With
// `NewestOnly`, a job posted while another waits replaces it, so work superseded
// before it could start is never done (the job running when a new one comes
// finishes; its result is for the receiver to recognise as stale). With `Queue`,
// every job runs, in order. Destroying the worker drops what waits and waits for
// the running job.
class WorkerThread {
public:
    enum class Policy { NewestOnly, Queue };
    explicit WorkerThread(Policy policy);
    ~WorkerThread();
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    void post(std::function<void()> job);
    // Drops the jobs that wait, if any.
    void dropWaiting();

private:
    void run();

    const Policy policy_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> waiting_;
    bool stopping_ = false;
    std::thread thread_;  // last: started once everything it reads exists
};

// Makes the calling thread give way a little to the window's thread: a walk may
// keep every core busy, but does not keep the window waiting. A little only: on a
// desktop where other programs keep the cores busy at normal priority, a thread
// niced further gets a small share of a core, and the search falls far behind the
// same search run by find beside them. The window's own work while a search runs
// is small enough to need little more than its fair share; this little keeps its
// turn short when that work grows.
constexpr int kWalkNiceness = 2;
void giveWayToTheWindow();

// Runs `call` on the thread of `receiver` when its events are next delivered;
// nothing happens when the receiver is gone by then.
template <typename Call>
void deliverTo(QObject *receiver, Call &&call)
{
    QMetaObject::invokeMethod(receiver, std::forward<Call>(call), Qt::QueuedConnection);
}

}  // namespace platform

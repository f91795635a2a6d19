#pragma once

#include "platform/WorkerThread.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace platform {
class StatusLine;
}

namespace listexport {

// Between an export running on its own thread and the window: the export says
// how far it got, and learns whether it is to stop.
class ExportProgress {
public:
    // `step` runs at each step of the writing (see platform::Services).
    explicit ExportProgress(std::function<void()> step = {})
        : step_(std::move(step))
    {
    }
    // The export's progress text for the status line (the newest is shown).
    void say(const QString &text);
    // The window went away: the export ends at its next step, writing nothing.
    // Asked at every step of the writing.
    bool stopped() const
    {
        if (step_)
            step_();
        return stopped_.load(std::memory_order_relaxed);
    }

    void stop() { stopped_.store(true, std::memory_order_relaxed); }
    std::optional<QString> takeText();

private:
    const std::function<void()> step_;
    std::mutex mutex_;
    std::optional<QString> text_;
    std::atomic<bool> stopped_{false};
};

// The work of an export: it writes the file on the export thread, using only
// what it was given (never the window), and gives back what is then done on the
// window's thread: the file opened, or the failure told.
using ExportWork = std::function<std::function<void()>(ExportProgress &)>;

// Runs exports one after another on a thread of their own, so that a long list
// never freezes the window. While one runs, the status line shows its progress
// texts and the pointer shows that the program is busy; the status line gets its
// caption back at the end. Closing the window stops the export at once: its file
// is not written and nothing of it is opened.
class BackgroundExports {
public:
    explicit BackgroundExports(platform::StatusLine &status, std::function<void()> duringExport = {});
    ~BackgroundExports();
    BackgroundExports(const BackgroundExports &) = delete;
    BackgroundExports &operator=(const BackgroundExports &) = delete;

    void run(ExportWork work);
    // Runs `chore` on the exports' thread before what is asked after it, without
    // showing anything: housekeeping no one waits for.
    void runQuietly(std::function<void()> chore);
    // An export waits or is being written (also one told to stop that has not yet).
    bool busy() const { return running_ > 0 || writing_.load(); }
    // A name given to an export that is still to be written: no other export takes it.
    void promise(const QString &path) { promised_.insert(path); }
    bool promised(const QString &path) const { return promised_.contains(path); }
    // Stops the running export and drops those waiting; none of them finishes.
    void stop();
    // `then`, made to do nothing once these exports (and so the window) are gone:
    // for what the desktop answers later, when the window may have closed.
    std::function<void()> whileAlive(std::function<void()> then) const
    {
        return [alive = std::weak_ptr<const int>(lifetime_), then = std::move(then)] {
            if (alive.lock())
                then();
        };
    }

private:
    void started();
    void finished(const std::function<void()> &then);
    void showProgress();

    platform::StatusLine &status_;
    int running_ = 0;
    QString savedCaption_;
    QSet<QString> promised_;
    bool stopped_ = false;
    std::shared_ptr<ExportProgress> progress_;
    std::atomic<bool> writing_{false};
    QTimer progressTimer_;
    QObject receiver_;
    const std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
    platform::WorkerThread worker_{platform::WorkerThread::Policy::Queue};  // last: stopped first
};

}  // namespace listexport

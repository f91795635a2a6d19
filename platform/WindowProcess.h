#pragma once

#include <sys/types.h>

namespace platform {

// The program as whoever started it sees it: a small process that runs the
// window in a child and ends with the window's status.
//
// A thread that a file system holds in the kernel cannot be ended (once FUSE has
// taken a request, not even SIGKILL ends the thread waiting for its answer), and
// a process is reaped only with its last thread. With the window in a child, the
// process its starter waits for holds no such thread: it ends as soon as the
// window's process has ended, or has ended all but the threads a share holds.
// What a share holds is reaped by the system once the share answers.
//
// The started process passes on SIGTERM, SIGINT and SIGHUP sent to it alone,
// and takes the window's process with it if it is killed outright.
class WindowProcess {
public:
    // Forks the window's process and returns in it; the started process never
    // returns from here, and exits as the window's process ends. Without a fork
    // (threads already running, or the system refusing one) it returns in the
    // started process, which is then the window's too.
    static WindowProcess split();

    // Tells the started process the status the program ends with, as the window
    // has closed; it ends with it once the window's process has gone as far as it
    // can. Async-signal-safe.
    void windowClosed(int status) const;

    // The started process, whose relayed signals twin the ones it passed on;
    // 0 when the window runs in the started process itself.
    pid_t front() const { return front_; }

private:
    pid_t front_ = 0;
    int statusWrite_ = -1;
};

}  // namespace platform

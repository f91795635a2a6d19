#include "platform/WindowProcess.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// How often the started process looks at the window's process once the window
// has closed, and how long the window's main thread may have ended before what is
// left of the process counts as held by a share: the other threads end within
// moments of it unless the kernel holds them.
constexpr int kLookEveryMs = 20;
constexpr auto kHeldAfter = std::chrono::milliseconds(100);
// The status when the window's process ended without saying one and cannot be
// reaped to read it.
constexpr int kStatusUnknown = 1;

bool singleThreaded()
{
    DIR *tasks = ::opendir("/proc/self/task");
    if (!tasks)
        return false;
    int count = 0;
    while (const dirent *entry = ::readdir(tasks))
        if (entry->d_name[0] != '.')
            ++count;
    ::closedir(tasks);
    return count == 1;
}

// Whether the main thread of `pid` has ended: the process has begun to exit.
bool mainThreadEnded(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true;
    std::array<char, 512> line{};
    const ssize_t length = ::read(fd, line.data(), line.size() - 1);
    ::close(fd);
    if (length <= 0)
        return true;
    // The state follows the name, which is in parentheses and may hold anything.
    const char *state = nullptr;
    for (ssize_t i = length - 1; i >= 0 && !state; --i)
        if (line[std::size_t(i)] == ')')
            state = line.data() + i + 2;
    return state && state < line.data() + length && (*state == 'Z' || *state == 'X');
}

// Ends as the window's process ended: with its exit status, or by its signal.
[[noreturn]] void endAs(int waitStatus)
{
    if (WIFSIGNALED(waitStatus)) {
        const int signalNumber = WTERMSIG(waitStatus);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);  // the window's process dumped its own
        ::signal(signalNumber, SIG_DFL);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, signalNumber);
        ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
        ::raise(signalNumber);
        ::_exit(128 + signalNumber);
    }
    ::_exit(WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : kStatusUnknown);
}

[[noreturn]] void serve(pid_t window, int statusRead, const sigset_t &signals)
{
    const int signalRead = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalRead < 0) {
        // Nothing to pass them on with: the signals end this process as they
        // would have, and the window's process goes with it.
        sigset_t ending = signals;
        sigdelset(&ending, SIGCHLD);
        ::sigprocmask(SIG_UNBLOCK, &ending, nullptr);
    }
    std::optional<int> status;
    bool closed = false;  // the window has closed, or its process ended without a word
    std::optional<Clock::time_point> mainEnded;
    for (;;) {
        std::array<pollfd, 2> watched{{{signalRead, POLLIN, 0}, {statusRead, POLLIN, 0}}};
        ::poll(watched.data(), watched.size(), closed || signalRead < 0 ? kLookEveryMs : -1);
        if (watched[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signalRead, &info, sizeof info) == ssize_t(sizeof info) && info.ssi_signo != SIGCHLD &&
                info.ssi_code != SI_KERNEL)
                ::kill(window, int(info.ssi_signo));  // the terminal's own reached the whole group
        }
        if (watched[1].revents) {
            unsigned char byte = 0;
            if (::read(statusRead, &byte, 1) == 1) {
                status = byte;
            } else {
                ::close(statusRead);
                statusRead = -1;  // poll skips it from now on
            }
            closed = true;
        }
        int waitStatus = 0;
        if (::waitpid(window, &waitStatus, WNOHANG) == window)
            endAs(waitStatus);
        if (!closed)
            continue;
        if (!mainThreadEnded(window)) {
            mainEnded.reset();
        } else if (!mainEnded) {
            mainEnded = Clock::now();
        } else if (Clock::now() - *mainEnded >= kHeldAfter) {
            ::_exit(status.value_or(kStatusUnknown));
        }
    }
}

}  // namespace

WindowProcess WindowProcess::split()
{
    // A fork copies only the thread that calls it: with others running, a lock
    // one of them held would stay held in the child for good.
    if (!singleThreaded())
        return {};
    sigset_t signals, before;
    sigemptyset(&signals);
    for (const int s : {SIGTERM, SIGINT, SIGHUP, SIGCHLD})
        sigaddset(&signals, s);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    // Blocked before the fork, so that none sent in between is lost to the
    // started process; the child takes its own mask back.
    ::sigprocmask(SIG_BLOCK, &signals, &before);
    const pid_t front = ::getpid();
    const pid_t window = ::fork();
    if (window < 0) {
        ::sigprocmask(SIG_SETMASK, &before, nullptr);
        ::close(ends[0]);
        ::close(ends[1]);
        return {};
    }
    if (window > 0) {
        ::close(ends[1]);
        serve(window, ends[0], signals);
    }
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    ::close(ends[0]);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != front)
        ::raise(SIGKILL);  // killed before the line above could take effect
    WindowProcess split;
    split.front_ = front;
    split.statusWrite_ = ends[1];  // kept for the process's life: its closing tells the front it ended
    return split;
}

void WindowProcess::windowClosed(int status) const
{
    if (statusWrite_ < 0)
        return;
    const unsigned char byte = static_cast<unsigned char>(status);
    [[maybe_unused]] const ssize_t written = ::write(statusWrite_, &byte, 1);
}

}  // namespace platform

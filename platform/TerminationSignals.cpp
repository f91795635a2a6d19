#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler's state: a signal handler can reach nothing but globals, and may
// do nothing but async-signal-safe calls.
std::atomic<int> pendingWriteEnd{-1};
std::atomic<pid_t> relayingFront{0};
std::atomic<int> askedBy{0};  // the first signal, 0 before it
std::atomic<bool> askRelayed{false};
std::atomic<long long> askedAtNs{0};
std::atomic<bool> twinSeen{false};

// The process that started the program passes on what it is sent alone; a signal
// sent to the whole group (a shell's kill of a job, a session's end) reaches both,
// and comes twice: once directly, once passed on. The two are one request.
constexpr long long kTwinWithinNs = 1'000'000'000;

long long monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

extern "C" void noteSignal(int signalNumber, siginfo_t *info, void *)
{
    const int savedErrno = errno;
    const pid_t front = relayingFront.load();
    const bool relayed = front != 0 && info && info->si_code == SI_USER && info->si_pid == front;
    const long long now = monotonicNs();
    if (askedBy.load() == 0) {
        askedBy.store(signalNumber);
        askRelayed.store(relayed);
        askedAtNs.store(now);
        const int fd = pendingWriteEnd.load();
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    } else if (!twinSeen.load() && signalNumber == askedBy.load() && relayed != askRelayed.load() &&
               now - askedAtNs.load() < kTwinWithinNs) {
        twinSeen.store(true);
    } else {
        // Asked again (the program did not end, or the person is in a hurry): the
        // signal ends it at once, as it would have without this handler. It is
        // blocked while its handler runs, and taken as the handler returns.
        ::signal(signalNumber, SIG_DFL);
        ::raise(signalNumber);
    }
    errno = savedErrno;
}

void handleWith(void (*handler)(int, siginfo_t *, void *))
{
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals)
        sigaddset(&action.sa_mask, s);  // one at a time: the state above is read and written in steps
    if (handler) {
        action.sa_sigaction = handler;
        action.sa_flags = SA_RESTART | SA_SIGINFO;
    } else {
        action.sa_handler = SIG_DFL;
    }
    for (const int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(pid_t front, QObject *parent)
    : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // the signals keep ending the program at once
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    pendingWriteEnd.store(writeEnd_);
    relayingFront.store(front);
    askedBy.store(0);
    twinSeen.store(false);
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    handleWith(noteSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (readEnd_ < 0)
        return;
    // The twin of a signal already taken may still be on its way from the front:
    // the handler stays for it. Without a front, a signal ends the program at
    // once from now on.
    int expected = writeEnd_;
    if (pendingWriteEnd.compare_exchange_strong(expected, -1) && relayingFront.load() == 0)
        handleWith(nullptr);
    ::close(writeEnd_);
    ::close(readEnd_);
}

void TerminationSignals::readPending()
{
    unsigned char byte = 0;
    if (::read(readEnd_, &byte, 1) != 1)
        return;
    // Asked once, the program ends as a person would end it.
    notifier_->setEnabled(false);
    emit received(byte);
}

}  // namespace platform

#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Where the handler writes: a signal handler can reach nothing but globals, and
// may do nothing but async-signal-safe calls.
std::atomic<int> pendingWriteEnd{-1};

extern "C" void noteSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = pendingWriteEnd.load();
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);  // full pipe: one is pending already
    }
    errno = savedErrno;
}

void handleWith(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // the signals keep ending the program at once
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    pendingWriteEnd.store(writeEnd_);
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    handleWith(noteSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (readEnd_ < 0)
        return;
    int expected = writeEnd_;
    if (pendingWriteEnd.compare_exchange_strong(expected, -1))
        handleWith(SIG_DFL);
    ::close(writeEnd_);
    ::close(readEnd_);
}

void TerminationSignals::readPending()
{
    unsigned char byte = 0;
    if (::read(readEnd_, &byte, 1) != 1)
        return;
    // Asked once, the program ends as a person would end it; asked again (it did
    // not end, or the person is in a hurry), the signal ends it at once.
    handleWith(SIG_DFL);
    notifier_->setEnabled(false);
    emit received(byte);
}

}  // namespace platform

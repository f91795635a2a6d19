#pragma once

#include <QObject>

#include <sys/types.h>

class QSocketNotifier;

namespace platform {

// SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C in the terminal, the end of a session)
// reach the program as `received` on the thread that made this object, so it can
// end the way its close button ends it instead of where the signal caught it.
// Asked again, the signal ends the program at once. `front` is the process that
// started the program and passes the signals on (0: none); a signal it passes on
// of one the program also had directly counts once.
// One at a time: a second object takes the signals over from the first.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(pid_t front = 0, QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

signals:
    void received(int signalNumber);

private:
    void readPending();

    int readEnd_ = -1;
    int writeEnd_ = -1;
    QSocketNotifier *notifier_ = nullptr;  // a child
};

}  // namespace platform

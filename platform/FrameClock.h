#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

namespace platform {

// The pace of the window's live updates: a monotonic time, and one call made once
// the next update is due. Tests drive it by hand, so a pace is checked without
// depending on the machine's speed.
class FrameClock {
public:
    virtual ~FrameClock() = default;
    // Milliseconds since some fixed point; never goes back.
    virtual qint64 nowMs() const = 0;
    // Calls `due` once, `ms` from now, on the thread the clock lives on; replaces a
    // call not yet made.
    virtual void callAfter(int ms, std::function<void()> due) = 0;
    // The call waiting, if any, will not be made.
    virtual void cancel() = 0;
    virtual bool pending() const = 0;
};

// The system's monotonic clock and the event loop's timers.
std::shared_ptr<FrameClock> systemFrameClock();

}  // namespace platform

#pragma once

#include <cstdint>

namespace search {

// The run and stop flags of a walk. The walk reads both afresh at every entry, so
// a Cancel or a close delivered inside its yield stops it at the next step.
struct WalkControl {
    std::int16_t FindContinue = 0;  // the enumeration loops run while non-zero
    bool StopRequested = false;     // a running walk must stop

    void start()
    {
        FindContinue = 1;
        StopRequested = false;
    }
    void stop()
    {
        FindContinue = 0;
        StopRequested = true;
    }
};

}  // namespace search

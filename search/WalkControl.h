#pragma once

#include <cstdint>

namespace search {

// The window's record of a walk's run: FindContinue while a walk fills the list,
// cleared when it ends, is stopped or is let go; StopRequested once Cancel (or a
// close) stopped it. The walk's own threads are told to stop through the walk
// itself, which they read at every entry.
struct WalkControl {
    std::int16_t FindContinue = 0;  // a walk is filling the list
    bool StopRequested = false;     // the running walk was asked to stop

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
    void end() { FindContinue = 0; }
};

}  // namespace search

// A virtual clock for tests: every reading moves time on by a fixed step,
// so busy waits on GetTickCount end after a known number of readings and
// take no real time.  Events can be scheduled at a virtual time (keys that
// arrive while the program is busy, for example).
#pragma once

#include "clock.h"

#include <functional>
#include <map>

namespace brelox {

class VirtualClock : public Clock {
public:
    explicit VirtualClock(uint64_t step_us = 50) : step_us_(step_us) {}

    uint64_t now_us() override;
    uint64_t peek_us() const { return now_; }
    void advance_us(uint64_t us);
    void schedule_us(uint64_t at_us, std::function<void()> event);
    // A run that goes past this virtual time is stuck in a wait: it ends
    // the process with a message instead of spinning for ever.
    void set_limit_us(uint64_t limit_us) { limit_us_ = limit_us; }

private:
    void run_due();

    uint64_t now_ = 0;
    uint64_t step_us_;
    uint64_t limit_us_ = 0;
    bool running_ = false;
    std::multimap<uint64_t, std::function<void()>> events_;
};

} // namespace brelox

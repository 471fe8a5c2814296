#include "virtual_clock.h"

#include <cstdio>
#include <cstdlib>

namespace brelox {

uint64_t VirtualClock::now_us()
{
    now_ += step_us_;
    if (limit_us_ != 0 && now_ > limit_us_) {
        std::fprintf(stderr, "virtual clock: past %llu us, a wait never ends\n", (unsigned long long)limit_us_);
        std::_Exit(98);
    }
    run_due();
    return now_;
}

void VirtualClock::advance_us(uint64_t us)
{
    now_ += us;
    run_due();
}

void VirtualClock::schedule_us(uint64_t at_us, std::function<void()> event)
{
    events_.emplace(at_us, std::move(event));
}

void VirtualClock::run_due()
{
    if (running_)
        return; // an event that reads the clock does not run the others early
    running_ = true;
    while (!events_.empty() && events_.begin()->first <= now_) {
        auto event = std::move(events_.begin()->second);
        events_.erase(events_.begin());
        event();
    }
    running_ = false;
}

} // namespace brelox

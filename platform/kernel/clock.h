// Where GetTickCount's time comes from: CLOCK_MONOTONIC, or a virtual
// clock that tests install so that waits are exact and take no real time.
#pragma once

#include <cstdint>

namespace brelox {

class Clock {
public:
    virtual ~Clock() = default;
    // Microseconds since an arbitrary start; may advance on every call.
    virtual uint64_t now_us() = 0;
};

// nullptr: back to the real clock.
void set_clock(Clock *clock);
Clock &current_clock();

} // namespace brelox

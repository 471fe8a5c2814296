// GetTickCount: 32-bit milliseconds that wrap like the real counter.
// BRELOX_TICK_START sets the value the count starts from, so that the wrap
// can be tested in a real run.
#include "clock.h"

#include <windows.h>

#include <cstdlib>
#include <ctime>

namespace brelox {

namespace {

class MonotonicClock : public Clock {
public:
    uint64_t now_us() override
    {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return (uint64_t)ts.tv_sec * 1000000u + (uint64_t)ts.tv_nsec / 1000u;
    }
};

MonotonicClock g_monotonic;
Clock *g_clock = &g_monotonic;

struct TickBase {
    bool set = false;
    uint64_t clock_start_ms = 0;
    uint32_t tick_start = 0;
    Clock *for_clock = nullptr;
};
TickBase g_base;

// The value BRELOX_TICK_START asks for, if it names one.
bool start_value(uint32_t *value)
{
    const char *text = std::getenv("BRELOX_TICK_START");
    if (text == nullptr || *text == 0)
        return false;
    char *end = nullptr;
    unsigned long long v = std::strtoull(text, &end, 0);
    if (end == nullptr || *end != 0)
        return false;
    *value = (uint32_t)v;
    return true;
}

} // namespace

void set_clock(Clock *clock)
{
    g_clock = clock != nullptr ? clock : &g_monotonic;
    g_base.set = false;
}

Clock &current_clock() { return *g_clock; }

} // namespace brelox

using namespace brelox;

extern "C" DWORD WINAPI GetTickCount(void)
{
    uint64_t now_ms = g_clock->now_us() / 1000u;
    if (!g_base.set || g_base.for_clock != g_clock) {
        g_base.set = true;
        g_base.for_clock = g_clock;
        g_base.clock_start_ms = now_ms;
        g_base.tick_start = 0;
        if (!start_value(&g_base.tick_start) && g_clock == &g_monotonic)
            g_base.clock_start_ms = 0; // plain: milliseconds of the monotonic clock
    }
    return (DWORD)(g_base.tick_start + (uint32_t)(now_ms - g_base.clock_start_ms));
}

// Headless driver.
//  [x] top-level surfaces in memory, presented nowhere
//  [x] input from a scripted operator, one step per wait
//  [x] beeps counted
//  [ ] no caret blinking, no real screen
#include "headless.h"
#include "../driver.h"
#include "../../user/input.h"

#include <cstdio>
#include <cstdlib>

namespace brelox {

namespace headless {

struct State {
    std::vector<Script::Step> steps;
    size_t next = 0;
    bool ran_out = false;
    int idle_waits = 0;
    int beeps = 0;
};

static State g_state;

void set_script(Script script)
{
    g_state.steps = std::move(script.steps);
    g_state.next = 0;
    g_state.ran_out = false;
    g_state.idle_waits = 0;
}

bool script_ran_out() { return g_state.ran_out; }
int beeps() { return g_state.beeps; }

// With nothing left to do, close what is open so the program ends; a
// program that still does not end is a failure, not a hang.
static void out_of_steps()
{
    if (!g_state.ran_out) {
        // BRELOX_SNAPSHOT: a picture of the main window as the script left it.
        const char *snapshot = std::getenv("BRELOX_SNAPSHOT");
        if (snapshot != nullptr && *snapshot != 0 && main_window() != nullptr)
            write_png(main_window()->hwnd, snapshot);
    }
    g_state.ran_out = true;
    if (++g_state.idle_waits > 20) {
        std::fprintf(stderr, "headless: the script ran out and the program does not end\n");
        std::_Exit(99);
    }
    for (Window *w : top_level_windows())
        if (w->message_box)
            input_close(w);
    if (Window *w = main_window())
        input_close(w);
}

static void wait_events()
{
    if (g_state.next >= g_state.steps.size()) {
        out_of_steps();
        return;
    }
    Script::Step step = g_state.steps[g_state.next++];
    step.run();
}

static bool probe() { return true; }
static bool open() { return true; }
static void beep() { g_state.beeps++; }

} // namespace headless

extern const Driver headless_driver;
const Driver headless_driver = {
    .name = "headless",
    .probe = headless::probe,
    .open = headless::open,
    .close = nulldrv::close,
    .create_window = nulldrv::create_window,
    .destroy_window = nulldrv::destroy_window,
    .show_window = nulldrv::show_window,
    .set_title = nulldrv::set_title,
    .present = nulldrv::present,
    .caret_changed = nulldrv::caret_changed,
    .wait_events = headless::wait_events,
    .beep = headless::beep,
};

} // namespace brelox

// The display driver table.  A driver shows top-level surfaces and reports
// input through the small API in platform/user/input.h; everything else
// (messages, focus, painting, caret, message box) is done once in
// platform/user, the same for every driver.
#pragma once

#include "../internal/layer.h"

namespace brelox {

struct CaretView {
    bool visible = false;
    int x = 0, y = 0, width = 0, height = 0; // client pixels
};

struct Driver {
    const char *name;
    bool (*probe)();                                   // could it run here?
    bool (*open)();                                    // false: it said why on stderr
    void (*close)();
    void (*create_window)(Window *w);                  // a top-level surface
    void (*destroy_window)(Window *w);
    void (*show_window)(Window *w, bool visible, bool activate);
    void (*set_title)(Window *w);
    void (*present)(Window *w, const RECT &area);      // the surface changed there
    void (*caret_changed)(Window *w, const CaretView &caret);
    void (*wait_events)();                             // block until input (or a tick)
    void (*beep)();
};

// Drivers known to this build, in the order of automatic choice.
const Driver *driver_by_name(const char *name);
const Driver *choose_driver(std::string *why_none);

// The driver in use; set once at start-up.
const Driver &driver();
void set_driver(const Driver *d);

// Named defaults for slots a driver leaves empty.
namespace nulldrv {
void close();
void create_window(Window *);
void destroy_window(Window *);
void show_window(Window *, bool, bool);
void set_title(Window *);
void present(Window *, const RECT &);
void caret_changed(Window *, const CaretView &);
void beep();
} // namespace nulldrv

} // namespace brelox

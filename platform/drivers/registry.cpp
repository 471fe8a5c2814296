// The registry of display drivers.  BRELOX_DRIVER names one; otherwise the
// first whose probe succeeds is taken, x11 before tty.  Headless is chosen
// only by name, so a desktop run never lands in it silently.
#include "driver.h"
#include "registry_list.h"

#include <cstdlib>
#include <cstring>

namespace brelox {

static const Driver *g_driver = nullptr;

const Driver &driver()
{
    // Before start-up chose one (unit tests of the layer), the headless driver.
    return g_driver != nullptr ? *g_driver : headless_driver;
}

void set_driver(const Driver *d) { g_driver = d; }

const Driver *driver_by_name(const char *name)
{
    for (const Driver *d : kDrivers)
        if (std::strcmp(d->name, name) == 0)
            return d;
    return nullptr;
}

const Driver *choose_driver(std::string *why_none)
{
    const char *wanted = std::getenv("BRELOX_DRIVER");
    if (wanted != nullptr && *wanted != 0) {
        const Driver *d = driver_by_name(wanted);
        if (d == nullptr) {
            *why_none = std::string("unknown BRELOX_DRIVER \"") + wanted + "\"; this build has:";
            for (const Driver *k : kDrivers)
                *why_none += std::string(" ") + k->name;
        }
        return d;
    }
    for (const Driver *d : kAutomatic)
        if (d->probe())
            return d;
    *why_none = "no display: no X display answers and standard input and output are not a terminal "
                "(set DISPLAY, run it in a terminal, or set BRELOX_DRIVER)";
    return nullptr;
}

namespace nulldrv {
void close() {}
void create_window(Window *) {}
void destroy_window(Window *) {}
void show_window(Window *, bool, bool) {}
void set_title(Window *) {}
void present(Window *, const RECT &) {}
void caret_changed(Window *, const CaretView &) {}
void beep() {}
} // namespace nulldrv

} // namespace brelox

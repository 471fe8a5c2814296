// The drivers of this build.
#pragma once

#include "driver.h"

namespace brelox {

extern const Driver headless_driver;
extern const Driver tty_driver;
extern const Driver x11_driver;

inline const Driver *const kDrivers[] = {&headless_driver, &x11_driver, &tty_driver};
inline const Driver *const kAutomatic[] = {&x11_driver, &tty_driver};

} // namespace brelox

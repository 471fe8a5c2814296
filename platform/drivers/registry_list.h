// The drivers of this build.
#pragma once

#include "driver.h"

namespace brelox {

extern const Driver headless_driver;
extern const Driver tty_driver;

inline const Driver *const kDrivers[] = {&headless_driver, &tty_driver};
inline const Driver *const kAutomatic[] = {&tty_driver};

} // namespace brelox

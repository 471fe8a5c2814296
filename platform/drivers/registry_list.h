// The drivers of this build.
#pragma once

#include "driver.h"

namespace brelox {

extern const Driver headless_driver;

inline const Driver *const kDrivers[] = {&headless_driver};
inline const Driver *const kAutomatic[] = {static_cast<const Driver *>(nullptr)};

} // namespace brelox

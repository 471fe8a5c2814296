#pragma once

#include <windows.h>

namespace brelox {

// The resource id behind an icon handle of LoadIconA, or 0.
int icon_resource_id(HICON icon);

} // namespace brelox

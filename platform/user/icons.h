// The program's icons (resources 103 and 104) as pixels, for drivers that
// show a window icon.  Generated at build time from resources/.
#pragma once

#include <windows.h>

#include <cstdint>

namespace brelox {

struct IconImage {
    int id;
    int size;               // width and height
    const uint32_t *argb;   // size * size pixels, 0xAARRGGBB
};

const IconImage *icon_image(int resource_id); // nullptr when there is none

int icon_resource_id(HICON icon);

} // namespace brelox

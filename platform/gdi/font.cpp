#include "font.h"

namespace brelox {

const std::vector<uint8_t> &glyph_preference()
{
    static const std::vector<uint8_t> order = [] {
        std::vector<uint8_t> v;
        for (int b = 0x20; b < 0x7F; b++)
            v.push_back((uint8_t)b);
        for (int b = 0xA1; b <= 0xFF; b++)
            v.push_back((uint8_t)b);
        for (int b = 0x80; b < 0xA1; b++)
            v.push_back((uint8_t)b);
        for (int b = 0; b < 0x20; b++)
            v.push_back((uint8_t)b);
        v.push_back(0x7F);
        return v;
    }();
    return order;
}

} // namespace brelox

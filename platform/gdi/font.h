// The one font of the layer: 8 x 16 bitmap glyphs for the 256 codes of
// Windows-1252, embedded at build time.  The same glyphs read the screen
// back in tests.
#pragma once

#include <cstdint>
#include <vector>

namespace brelox {

constexpr int kFontWidth = 8;
constexpr int kFontHeight = 16;
constexpr int kFontAscent = 12;

extern const uint8_t kFontGlyphs[256][kFontHeight];

inline bool glyph_pixel(uint8_t byte, int col, int row)
{
    return (kFontGlyphs[byte][row] & (0x80 >> col)) != 0;
}

// Which byte's glyph a cell of ink shows.  `ink(col, row)` says whether the
// pixel at that offset in the cell is dark.  The result is the first match
// in reading order of preference (printable ASCII first), or -1.
template <typename Ink> int match_glyph(Ink ink);

// Bytes in the order a match prefers them, so that identical glyphs read
// back as the plain character.
const std::vector<uint8_t> &glyph_preference();

template <typename Ink> int match_glyph(Ink ink)
{
    uint8_t cell[kFontHeight];
    for (int r = 0; r < kFontHeight; r++) {
        cell[r] = 0;
        for (int c = 0; c < kFontWidth; c++)
            if (ink(c, r))
                cell[r] |= (uint8_t)(0x80 >> c);
    }
    for (uint8_t b : glyph_preference()) {
        bool same = true;
        for (int r = 0; r < kFontHeight && same; r++)
            same = kFontGlyphs[b][r] == cell[r];
        if (same)
            return b;
    }
    return -1;
}

} // namespace brelox

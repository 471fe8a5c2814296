// Reading the screen back as a person would see it: text by matching the
// font's glyphs against the surface, blank areas, beeps.
#include "headless.h"
#include "../../gdi/font.h"

namespace brelox::headless {

static bool dark(const Surface &s, int x, int y)
{
    if (x < 0 || y < 0 || x >= s.width || y >= s.height)
        return false;
    uint32_t p = s.get(x, y);
    int luma = (int)((p >> 16) & 0xFF) * 3 + (int)((p >> 8) & 0xFF) * 6 + (int)(p & 0xFF);
    return luma < 128 * 10;
}

std::string text_at(HWND hwnd, int x, int y, int count)
{
    Window *w = find_window(hwnd);
    std::string text;
    if (w == nullptr)
        return text;
    for (int i = 0; i < count; i++) {
        int cx = x + i * kFontWidth;
        int b = match_glyph([&](int c, int r) { return dark(w->surface, cx + c, y + r); });
        text += b < 0 ? '\0' : (char)b;
    }
    return text;
}

bool cell_shows(HWND hwnd, int x, int y, uint8_t byte)
{
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return false;
    for (int r = 0; r < kFontHeight; r++)
        for (int c = 0; c < kFontWidth; c++)
            if (dark(w->surface, x + c, y + r) != glyph_pixel(byte, c, r))
                return false;
    return true;
}

bool blank(HWND hwnd, const RECT &area)
{
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return false;
    RECT r = intersect(area, w->client_rect());
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            if (w->surface.get(x, y) != kWhite)
                return false;
    return true;
}

bool write_png(HWND hwnd, const std::string &path)
{
    Window *w = find_window(hwnd);
    return w != nullptr && write_png_pixels(path, w->surface.width, w->surface.height, w->surface.pixels);
}

} // namespace brelox::headless

// TextOutA: every font of this layer is the one fixed 8-pixel font, black
// on an opaque white background, one cell per byte, bytes drawn as they are.
#include "dc.h"
#include "font.h"

#include <algorithm>

using namespace brelox;

static int round_div(int value, int by) { return (value * 2 + by) / (2 * by); }

static void draw_glyph(DeviceContext *dc, int x, int y, uint8_t byte)
{
    Surface &s = dc->window->surface;
    for (int row = 0; row < kFontHeight; row++)
        for (int col = 0; col < kFontWidth; col++)
            if (dc->visible(x + col, y + row))
                s.set(x + col, y + row, glyph_pixel(byte, col, row) ? kBlack : kWhite);
    RECT cell{x, y, x + kFontWidth, y + kFontHeight};
    if (dc->touches(cell))
        s.cells.put(round_div(x, kCellPixelWidth), round_div(y, kCellPixelHeight), byte);
}

extern "C" BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count)
{
    DeviceContext *dc = dc_from(hdc);
    if (dc == nullptr || (text == nullptr && count > 0) || count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Surface &s = dc->window->surface;
    int drawn = 0;
    for (int i = 0; i < count; i++) {
        int cx = x + i * kFontWidth;
        if (cx >= s.width)
            break; // clipped at the window's edge
        if (cx + kFontWidth <= 0)
            continue;
        draw_glyph(dc, cx, y, (uint8_t)text[i]);
        drawn++;
    }
    if (drawn > 0) {
        int left = std::max(x, 0);
        RECT changed{left, y, std::min(x + count * kFontWidth, s.width), y + kFontHeight};
        changed = intersect(changed, dc->window->client_rect());
        s.dirty.add(changed);
    }
    return TRUE;
}

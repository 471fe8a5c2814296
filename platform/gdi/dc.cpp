// Device contexts and stock objects.
#include "dc.h"

#include <memory>
#include <set>

namespace brelox {

struct StockObject {
    int index;
};

static StockObject g_stock[SYSTEM_FIXED_FONT + 1] = {
    {0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}, {9}, {10}, {11}, {12}, {13}, {14}, {15}, {16},
};

uint32_t brush_colour(HBRUSH brush)
{
    auto *obj = reinterpret_cast<StockObject *>(brush);
    if (obj == &g_stock[BLACK_BRUSH])
        return 0x000000;
    if (obj == &g_stock[LTGRAY_BRUSH])
        return 0xC0C0C0;
    if (obj == &g_stock[GRAY_BRUSH])
        return 0x808080;
    if (obj == &g_stock[DKGRAY_BRUSH])
        return 0x404040;
    return 0xFFFFFF;
}

static std::set<DeviceContext *> &live_dcs()
{
    static std::set<DeviceContext *> set;
    return set;
}

bool DeviceContext::visible(int x, int y) const
{
    if (x < 0 || y < 0 || x >= window->surface.width || y >= window->surface.height)
        return false;
    return !clipped || clip.contains(x, y);
}

bool DeviceContext::touches(const RECT &r) const
{
    RECT inside = intersect(r, window->client_rect());
    if (rect_empty(inside))
        return false;
    return !clipped || clip.intersects(inside);
}

HDC create_dc(Window *w, const Region *clip)
{
    auto *dc = new DeviceContext;
    dc->window = w;
    if (clip != nullptr) {
        dc->clipped = true;
        dc->clip = *clip;
    }
    dc->font = &g_stock[SYSTEM_FONT];
    live_dcs().insert(dc);
    return reinterpret_cast<HDC>(dc);
}

DeviceContext *dc_from(HDC hdc)
{
    auto *dc = reinterpret_cast<DeviceContext *>(hdc);
    if (live_dcs().count(dc) == 0 || find_window(dc->window->hwnd) == nullptr)
        return nullptr;
    return dc;
}

bool release_dc(HDC hdc)
{
    auto *dc = reinterpret_cast<DeviceContext *>(hdc);
    if (live_dcs().erase(dc) == 0)
        return false;
    delete dc;
    return true;
}

// A cell shows what was last drawn over its anchor point.
static bool cell_anchor_in(int col, int row, const RECT &r)
{
    int x = col * kCellPixelWidth, y = row * kCellPixelHeight;
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void fill_surface(Window *w, const RECT &area, uint32_t rgb, const DeviceContext *dc)
{
    Surface &s = w->surface;
    RECT r = intersect(area, w->client_rect());
    if (rect_empty(r))
        return;
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            if (dc == nullptr || dc->visible(x, y))
                s.set(x, y, rgb);
    for (int row = 0; row < s.cells.rows; row++)
        for (int col = 0; col < s.cells.cols; col++)
            if (cell_anchor_in(col, row, r) &&
                (dc == nullptr || !dc->clipped || dc->clip.contains(col * kCellPixelWidth, row * kCellPixelHeight)))
                s.cells.put(col, row, ' ');
    s.dirty.add(r);
}

void erase_dc_area(HDC hdc, HBRUSH brush)
{
    DeviceContext *dc = dc_from(hdc);
    if (dc == nullptr)
        return;
    uint32_t rgb = brush_colour(brush);
    if (!dc->clipped) {
        fill_surface(dc->window, dc->window->client_rect(), rgb, nullptr);
        return;
    }
    for (const RECT &r : dc->clip.rects)
        fill_surface(dc->window, r, rgb, nullptr);
}

static int round_div(int value, int by) { return (value * 2 + by) / (2 * by); }

void put_cells(Window *w, int x, int y, const char *text)
{
    int row = round_div(y, kCellPixelHeight);
    int col = round_div(x, kCellPixelWidth);
    for (int i = 0; text[i] != 0; i++)
        w->surface.cells.put(col + i, row, (uint8_t)text[i]);
}

} // namespace brelox

using namespace brelox;

extern "C" HGDIOBJ WINAPI GetStockObject(int i)
{
    if (i < 0 || i > SYSTEM_FIXED_FONT || i == 9)
        return nullptr;
    return &g_stock[i];
}

extern "C" HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object)
{
    DeviceContext *dc = dc_from(hdc);
    if (dc == nullptr || object == nullptr)
        return nullptr;
    auto *obj = static_cast<StockObject *>(object);
    if (obj < &g_stock[0] || obj > &g_stock[SYSTEM_FIXED_FONT])
        return nullptr;
    if (obj->index < OEM_FIXED_FONT || obj->index == DEFAULT_PALETTE)
        return &g_stock[WHITE_BRUSH]; // brushes and pens: nothing to keep
    HGDIOBJ old = dc->font;
    dc->font = object;
    return old;
}

extern "C" int WINAPI FillRect(HDC hdc, const RECT *rect, HBRUSH brush)
{
    DeviceContext *dc = dc_from(hdc);
    if (dc == nullptr || rect == nullptr)
        return 0;
    fill_surface(dc->window, *rect, brush_colour(brush), dc);
    return 1;
}

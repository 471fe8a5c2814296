// Device contexts of windows: where GDI draws, with what clipping.
#pragma once

#include "../internal/layer.h"

namespace brelox {

struct DeviceContext {
    Window *window = nullptr;
    bool clipped = false; // BeginPaint's DCs draw only inside the update region
    Region clip;
    HGDIOBJ font = nullptr;

    bool visible(int x, int y) const;
    bool touches(const RECT &r) const;
};

HDC create_dc(Window *w, const Region *clip);
bool release_dc(HDC hdc);
DeviceContext *dc_from(HDC hdc);

// Fills what the DC may draw on (its clip region, or the client area).
void erase_dc_area(HDC hdc, HBRUSH brush);

// Fills a rectangle of a window's surface and its cells, clipped by `dc`.
void fill_surface(Window *w, const RECT &area, uint32_t rgb, const DeviceContext *dc);

// Puts text into the cell grid only: what a character terminal shows for
// pictures it cannot draw (the message box's sign and button frame).
void put_cells(Window *w, int x, int y, const char *text);

} // namespace brelox

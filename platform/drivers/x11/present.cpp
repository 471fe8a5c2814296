// Putting surfaces on the screen: only the changed area, each pixel
// enlarged by the scale, with the caret drawn over the picture (inverted)
// and never into the surface, so moving or hiding it leaves nothing behind.
#include "x11.h"
#include "../trace.h"

#include <algorithm>

namespace brelox::x11 {

namespace {

constexpr auto kBlinkPeriod = std::chrono::milliseconds(530);

RECT caret_rect(const XWin *x)
{
    return RECT{x->caret.x, x->caret.y, x->caret.x + x->caret.width, x->caret.y + x->caret.height};
}

bool caret_drawn(const XWin *x)
{
    const State &s = state();
    return s.caret_owner == x && x->caret.visible && s.caret_phase_on;
}

bool in_rect(const RECT &r, int px, int py) { return px >= r.left && px < r.right && py >= r.top && py < r.bottom; }

} // namespace

void present_rect(XWin *x, RECT area)
{
    State &s = state();
    const Surface &surface = x->window->surface;
    area = intersect(area, x->window->client_rect());
    if (rect_empty(area) || x->image == nullptr)
        return;
    bool caret = caret_drawn(x);
    RECT cr = caret_rect(x);
    int stride = surface.width * s.scale;
    for (int py = area.top; py < area.bottom; py++)
        for (int px = area.left; px < area.right; px++) {
            uint32_t p = surface.get(px, py);
            if (caret && in_rect(cr, px, py))
                p ^= 0xFFFFFF;
            for (int dy = 0; dy < s.scale; dy++)
                for (int dx = 0; dx < s.scale; dx++)
                    x->pixels[(size_t)(py * s.scale + dy) * stride + px * s.scale + dx] = p;
        }
    if (x->mapped)
        XPutImage(s.display, x->xid, s.gc, x->image, area.left * s.scale, area.top * s.scale, area.left * s.scale,
                  area.top * s.scale, (unsigned)((area.right - area.left) * s.scale),
                  (unsigned)((area.bottom - area.top) * s.scale));
}

// The round trip makes sure the server has the picture before the program
// goes on waiting: what was drawn is on the screen.
void present(Window *w, const RECT &area)
{
    XWin *x = xwin_of(w);
    if (x == nullptr)
        return;
    present_rect(x, area);
    XSync(state().display, False);
    if (x->mapped)
        trace_presented();
}

// A moved or newly shown caret starts in its visible phase, as on Windows.
void caret_changed(Window *w, const CaretView &caret)
{
    State &s = state();
    XWin *x = xwin_of(w);
    if (x == nullptr)
        return;
    RECT old = caret_rect(x);
    bool was = caret_drawn(x);
    x->caret = caret;
    if (caret.visible) {
        s.caret_owner = x;
        s.caret_phase_on = true;
        s.next_blink = std::chrono::steady_clock::now() + kBlinkPeriod;
    } else if (s.caret_owner == x) {
        s.caret_owner = nullptr;
    }
    if (was)
        present_rect(x, old);
    if (caret_drawn(x))
        present_rect(x, caret_rect(x));
}

void blink()
{
    State &s = state();
    auto now = std::chrono::steady_clock::now();
    if (s.caret_owner == nullptr || !s.caret_owner->caret.visible || now < s.next_blink)
        return;
    s.caret_phase_on = !s.caret_phase_on;
    s.next_blink = now + kBlinkPeriod;
    present_rect(s.caret_owner, caret_rect(s.caret_owner));
    XFlush(s.display);
}

} // namespace brelox::x11

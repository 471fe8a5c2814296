// Update regions and painting: InvalidateRect, BeginPaint/EndPaint and the
// window device contexts of GetDC/ReleaseDC.
#include "user_internal.h"
#include "../gdi/dc.h"

namespace brelox {

void invalidate(Window *w, const RECT *area, bool erase)
{
    RECT client = w->client_rect();
    RECT r = area != nullptr ? intersect(*area, client) : client;
    if (rect_empty(r))
        return;
    w->update.add(r);
    if (erase)
        w->erase_pending = true;
}

} // namespace brelox

using namespace brelox;

extern "C" BOOL WINAPI InvalidateRect(HWND hwnd, const RECT *area, BOOL erase)
{
    if (hwnd == nullptr) { // all windows, as Windows does for NULL
        for (Window *w : top_level_windows())
            invalidate(w, area, erase != FALSE);
        return TRUE;
    }
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    invalidate(w, area, erase != FALSE);
    return TRUE;
}

// The DC is clipped to the update region, which is then empty; the erase
// goes through WM_ERASEBKGND so that the class brush (or the window) does it.
extern "C" HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps)
{
    Window *w = find_window(hwnd);
    if (w == nullptr || ps == nullptr)
        return nullptr;
    HideCaret(hwnd);
    Region clip = w->update;
    w->update.clear();
    bool erase = w->erase_pending;
    w->erase_pending = false;
    HDC hdc = create_dc(w, &clip);
    *ps = PAINTSTRUCT{};
    ps->hdc = hdc;
    ps->rcPaint = clip.bounds();
    ps->fErase = FALSE;
    if (erase)
        ps->fErase = send_message(w, WM_ERASEBKGND, (WPARAM)hdc, 0) == 0;
    return hdc;
}

extern "C" BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT *ps)
{
    if (ps != nullptr)
        release_dc(ps->hdc);
    ShowCaret(hwnd);
    return TRUE;
}

extern "C" HDC WINAPI GetDC(HWND hwnd)
{
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return nullptr;
    return create_dc(w, nullptr);
}

extern "C" int WINAPI ReleaseDC(HWND hwnd, HDC hdc)
{
    (void)hwnd;
    return release_dc(hdc) ? 1 : 0;
}

// The caret: one per thread, owned by a window, with a hide count.  It is
// drawn by the driver over the window's surface, never into it, so text
// drawn while it is shown is not damaged.
#include "user_internal.h"
#include "../drivers/driver.h"

namespace brelox {

static CaretState g_caret;

const CaretState &caret_state() { return g_caret; }

static void tell_driver(Window *w)
{
    if (w == nullptr)
        return;
    CaretView view;
    view.visible = g_caret.owner == w && g_caret.shown();
    view.x = g_caret.x;
    view.y = g_caret.y;
    view.width = g_caret.width;
    view.height = g_caret.height;
    driver().caret_changed(w, view);
}

void caret_window_gone(Window *w)
{
    if (g_caret.owner == w)
        g_caret = CaretState{};
}

static bool owns_caret(HWND hwnd)
{
    if (g_caret.owner == nullptr)
        return false;
    return hwnd == nullptr || g_caret.owner->hwnd == hwnd;
}

} // namespace brelox

using namespace brelox;

extern "C" BOOL WINAPI CreateCaret(HWND hwnd, HANDLE bitmap, int width, int height)
{
    (void)bitmap; // solid carets only
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    DestroyCaret();
    g_caret.owner = w;
    g_caret.x = 0;
    g_caret.y = 0;
    g_caret.width = width > 0 ? width : 1;
    g_caret.height = height > 0 ? height : 1;
    g_caret.hide_count = 1;
    return TRUE;
}

extern "C" BOOL WINAPI DestroyCaret(void)
{
    Window *old = g_caret.owner;
    if (old == nullptr)
        return FALSE;
    g_caret = CaretState{};
    tell_driver(old);
    return TRUE;
}

extern "C" BOOL WINAPI SetCaretPos(int x, int y)
{
    if (g_caret.owner == nullptr)
        return FALSE;
    g_caret.x = x;
    g_caret.y = y;
    tell_driver(g_caret.owner);
    return TRUE;
}

extern "C" BOOL WINAPI ShowCaret(HWND hwnd)
{
    if (!owns_caret(hwnd))
        return FALSE;
    if (g_caret.hide_count > 0)
        g_caret.hide_count--;
    tell_driver(g_caret.owner);
    return TRUE;
}

extern "C" BOOL WINAPI HideCaret(HWND hwnd)
{
    if (!owns_caret(hwnd))
        return FALSE;
    g_caret.hide_count++;
    tell_driver(g_caret.owner);
    return TRUE;
}

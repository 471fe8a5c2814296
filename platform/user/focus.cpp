// Activation and keyboard focus.  Activating a window sends WM_ACTIVATE;
// the default window procedure then gives it the focus (WM_SETFOCUS), and
// the window that had it gets WM_KILLFOCUS first.
#include "user_internal.h"

namespace brelox {

static Window *g_active = nullptr;
static Window *g_focus = nullptr;

Window *focus_window() { return g_focus; }
Window *active_window() { return g_active; }

void set_focus(Window *w)
{
    if (w == g_focus)
        return;
    Window *old = g_focus;
    g_focus = w;
    if (old != nullptr)
        send_message(old, WM_KILLFOCUS, (WPARAM)(w != nullptr ? w->hwnd : nullptr), 0);
    if (w != nullptr && g_focus == w)
        send_message(w, WM_SETFOCUS, (WPARAM)(old != nullptr ? old->hwnd : nullptr), 0);
}

void activate_window(Window *w)
{
    if (w == g_active) {
        if (w != nullptr && g_focus == nullptr)
            set_focus(w);
        return;
    }
    Window *old = g_active;
    g_active = w;
    if (old != nullptr)
        send_message(old, WM_ACTIVATE, WA_INACTIVE, (LPARAM)(w != nullptr ? w->hwnd : nullptr));
    if (w != nullptr)
        send_message(w, WM_ACTIVATE, WA_ACTIVE, (LPARAM)(old != nullptr ? old->hwnd : nullptr));
    else
        set_focus(nullptr);
}

void forget_window(Window *w)
{
    if (g_focus == w)
        set_focus(nullptr);
    if (g_active == w)
        g_active = nullptr;
}

} // namespace brelox

using namespace brelox;

extern "C" HWND WINAPI GetFocus(void) { return g_focus != nullptr ? g_focus->hwnd : nullptr; }

extern "C" HWND WINAPI SetFocus(HWND hwnd)
{
    HWND old = GetFocus();
    Window *w = hwnd != nullptr ? find_window(hwnd) : nullptr;
    if (hwnd != nullptr && (w == nullptr || !w->enabled))
        return nullptr;
    set_focus(w);
    return old;
}

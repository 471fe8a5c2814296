// Events reported by the display drivers, turned into what Windows makes
// of them: queued key messages for the focus window, activation and focus
// messages, WM_SIZE on minimise and restore, invalidation on expose.
#include "input.h"
#include "keyboard.h"
#include "message_queue.h"
#include "user_internal.h"

namespace brelox {

static LPARAM key_lparam(bool down, bool alt)
{
    LPARAM l = 1; // repeat count
    if (alt)
        l |= (LPARAM)1 << 29;
    if (!down)
        l |= ((LPARAM)1 << 30) | ((LPARAM)1 << 31);
    return (LPARAM)(DWORD)l;
}

void input_key(Window *w, bool down, UINT vk, int unicode, unsigned modifiers)
{
    (void)w; // keys go to the window with the focus, as on Windows
    Window *target = focus_window();
    if (target == nullptr)
        return;
    bool alt = (modifiers & kModAlt) != 0 && (modifiers & kModControl) == 0;
    if (alt && down && vk == VK_F4) { // Alt+F4 closes, as the system menu would
        input_close(target);
        return;
    }
    UINT message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    int character = down ? translate_character(vk, unicode, modifiers) : kNoCharacter;
    queue_input(message, vk, key_lparam(down, alt), character);
}

// A disabled window (the owner of a message box while it is up) gets no
// clicks, as on Windows.
void input_mouse_button(Window *w, int x, int y, bool down)
{
    if (w == nullptr || w->destroyed || !w->enabled)
        return;
    LPARAM where = (LPARAM)(((DWORD)(y & 0xFFFF) << 16) | (DWORD)(x & 0xFFFF));
    queue_mouse_input(w->hwnd, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? 1 : 0, where);
}

// A disabled window (the owner of a message box) passes activation on to
// the enabled window it owns.
static Window *window_to_activate(Window *w)
{
    if (w->enabled)
        return w;
    for (Window *other : top_level_windows())
        if (other->owner == w->hwnd && other->enabled && other->visible)
            return other;
    return nullptr;
}

static void deactivate() { activate_window(nullptr); }

void input_focus(Window *w, bool gained)
{
    if (w == nullptr || w->destroyed)
        return;
    if (gained) {
        Window *target = window_to_activate(w);
        if (target != nullptr && !target->minimized)
            activate_window(target);
        return;
    }
    // Only the active window losing the focus deactivates: the owner of a
    // message box losing it to the box is focus moving inside the program.
    if (active_window() == w)
        deactivate();
}

void input_minimized(Window *w, bool minimized)
{
    if (w == nullptr || w->destroyed || w->minimized == minimized)
        return;
    w->minimized = minimized;
    if (minimized) {
        if (active_window() == w)
            deactivate();
        send_message(w, WM_SIZE, SIZE_MINIMIZED, 0);
        return;
    }
    send_message(w, WM_SIZE, SIZE_RESTORED,
                 (LPARAM)(((DWORD)w->surface.height << 16) | (DWORD)w->surface.width));
    invalidate(w, nullptr, true);
    Window *target = window_to_activate(w);
    if (target != nullptr)
        activate_window(target);
}

void input_exposed(Window *w, const RECT &area)
{
    if (w == nullptr || w->destroyed)
        return;
    invalidate(w, &area, true);
}

void input_close(Window *w)
{
    if (w == nullptr || w->destroyed || !w->enabled)
        return; // a disabled window ignores its close button
    if (w->message_box) {
        input_key(w, true, VK_ESCAPE, 27, 0);
        input_key(w, false, VK_ESCAPE, 27, 0);
        return;
    }
    send_message(w, WM_SYSCOMMAND, 0xF060 /* SC_CLOSE */, 0);
}

} // namespace brelox

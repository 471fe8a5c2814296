// The X11 driver's state and its parts, shared by the files of
// platform/drivers/x11.
#pragma once

#include "../driver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <map>
#include <vector>

namespace brelox::x11 {

struct XWin {
    Window *window = nullptr;
    ::Window xid = 0;
    XImage *image = nullptr;          // the surface, scaled, as the server takes it
    std::vector<uint32_t> pixels;     // the image's memory
    bool mapped = false;
    bool unmapping = false;           // we hid it ourselves: not a minimise
    bool wants_focus = false;         // give it the focus once it is mapped
    CaretView caret;
};

struct Atoms {
    Atom wm_protocols, wm_delete_window, wm_state, net_wm_name, utf8_string, net_wm_icon, net_wm_pid,
        motif_wm_hints, net_active_window, net_wm_state, net_wm_state_modal, net_wm_window_type,
        net_wm_window_type_dialog, net_supporting_wm_check;
};

struct State {
    Display *display = nullptr;
    int screen = 0;
    Visual *visual = nullptr;
    int depth = 0;
    GC gc = nullptr;
    int scale = 1;
    Atoms atoms{};
    std::map<::Window, XWin *> by_xid;
    std::map<Window *, XWin *> by_window;
    XWin *caret_owner = nullptr;
    bool caret_phase_on = true;
    std::chrono::steady_clock::time_point next_blink{};
};

State &state();
XWin *xwin_of(Window *w);

// window.cpp
void create_window(Window *w);
void destroy_window(Window *w);
void show_window(Window *w, bool visible, bool activate);
void set_title(Window *w);
void give_focus(XWin *x);

// present.cpp
void present(Window *w, const RECT &area);
void present_rect(XWin *x, RECT area);
void caret_changed(Window *w, const CaretView &caret);
void blink();

// input.cpp
void handle_event(XEvent &ev);

// keymap.cpp: the virtual key of an unshifted keysym, and the character
// of the keysym XLookupString gave.
UINT vk_from_keysym(KeySym unshifted);
int unicode_from_keysym(KeySym sym, const char *lookup, int lookup_len);

} // namespace brelox::x11

// X11 driver, on Xlib: a real window on any Linux desktop (XWayland too).
//  [x] client area at the program's size and place, title, class, fixed size,
//      no maximise, icon, process id, the close button as WM_CLOSE
//  [x] only changed areas presented; exposes repaint through WM_PAINT;
//      restore after minimise repaints everything
//  [x] the caret over the picture, blinking every 530 ms
//  [x] the first show takes the focus; synthetic key events are accepted
//  [x] message boxes as their own modal windows, transient for the owner
//  [x] BRELOX_SCALE (default 2 at 192 dpi and above); XBell
//  [x] the display going away: a message and a clean exit
//  [x] the left button (the message box's OK); no other mouse use
//  [ ] no clipboard
#include "x11.h"
#include "../../user/input.h"

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brelox::x11 {

State &state()
{
    static State s;
    return s;
}

XWin *xwin_of(Window *w)
{
    auto it = state().by_window.find(w);
    return it != state().by_window.end() ? it->second : nullptr;
}

namespace {

int on_io_error(Display *)
{
    std::fprintf(stderr, "brelox: the connection to the X display was lost\n");
    std::_Exit(1);
}

// Protocol errors are not fatal here: a focus request that reaches a window
// just unmapped (BadMatch) or one the window manager destroyed (BadWindow)
// must not end the program, as Xlib's default handler would.
int on_protocol_error(Display *, XErrorEvent *) { return 0; }

int dpi_scale(Display *d)
{
    const char *text = std::getenv("BRELOX_SCALE");
    if (text != nullptr && *text != 0) {
        int v = std::atoi(text);
        return v >= 1 && v <= 8 ? v : 1;
    }
    const char *resources = XResourceManagerString(d);
    if (resources == nullptr)
        return 1;
    const char *dpi = std::strstr(resources, "Xft.dpi:");
    return dpi != nullptr && std::atof(dpi + 8) >= 192 ? 2 : 1;
}

// The connection the probe makes is the one the driver keeps: closing it
// and opening another would let a display with no other client reset in
// between, and refuse the second.
bool probe()
{
    const char *name = std::getenv("DISPLAY");
    if (name == nullptr || *name == 0)
        return false;
    State &s = state();
    if (s.display == nullptr)
        s.display = XOpenDisplay(nullptr);
    return s.display != nullptr;
}

Atom atom(Display *d, const char *name) { return XInternAtom(d, name, False); }

bool open()
{
    State &s = state();
    if (s.display == nullptr)
        s.display = XOpenDisplay(nullptr);
    if (s.display == nullptr) {
        std::fprintf(stderr, "brelox: cannot open the X display \"%s\"\n", XDisplayName(nullptr));
        return false;
    }
    XSetIOErrorHandler(on_io_error);
    XSetErrorHandler(on_protocol_error);
    s.screen = DefaultScreen(s.display);
    XVisualInfo info;
    if (!XMatchVisualInfo(s.display, s.screen, 24, TrueColor, &info) || info.red_mask != 0xFF0000 ||
        info.green_mask != 0xFF00 || info.blue_mask != 0xFF) {
        std::fprintf(stderr, "brelox: the X display has no 24-bit true-colour visual\n");
        XCloseDisplay(s.display);
        return false;
    }
    s.visual = info.visual;
    s.depth = info.depth;
    s.gc = DefaultGC(s.display, s.screen);
    s.scale = dpi_scale(s.display);
    Atoms &a = s.atoms;
    Display *d = s.display;
    a.wm_protocols = atom(d, "WM_PROTOCOLS");
    a.wm_delete_window = atom(d, "WM_DELETE_WINDOW");
    a.wm_state = atom(d, "WM_STATE");
    a.net_wm_name = atom(d, "_NET_WM_NAME");
    a.utf8_string = atom(d, "UTF8_STRING");
    a.net_wm_icon = atom(d, "_NET_WM_ICON");
    a.net_wm_pid = atom(d, "_NET_WM_PID");
    a.motif_wm_hints = atom(d, "_MOTIF_WM_HINTS");
    a.net_active_window = atom(d, "_NET_ACTIVE_WINDOW");
    a.net_wm_state = atom(d, "_NET_WM_STATE");
    a.net_wm_state_modal = atom(d, "_NET_WM_STATE_MODAL");
    a.net_wm_window_type = atom(d, "_NET_WM_WINDOW_TYPE");
    a.net_wm_window_type_dialog = atom(d, "_NET_WM_WINDOW_TYPE_DIALOG");
    a.net_supporting_wm_check = atom(d, "_NET_SUPPORTING_WM_CHECK");
    return true;
}

void close()
{
    State &s = state();
    if (s.display != nullptr)
        XCloseDisplay(s.display);
    s.display = nullptr;
}

void process_pending()
{
    Display *d = state().display;
    while (XPending(d) > 0) {
        XEvent ev;
        XNextEvent(d, &ev);
        handle_event(ev);
    }
}

// The one wait point: the X connection, and the next caret blink.
void wait_events()
{
    State &s = state();
    XFlush(s.display);
    if (XPending(s.display) == 0) {
        int timeout = -1;
        if (s.caret_owner != nullptr && s.caret_owner->caret.visible) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(s.next_blink -
                                                                              std::chrono::steady_clock::now());
            timeout = (int)std::max<long long>(0, left.count());
        }
        pollfd pfd{ConnectionNumber(s.display), POLLIN, 0};
        poll(&pfd, 1, timeout);
    }
    process_pending();
    blink();
}

void beep() { XBell(state().display, 0); }

} // namespace

} // namespace brelox::x11

namespace brelox {

extern const Driver x11_driver;
const Driver x11_driver = {
    .name = "x11",
    .probe = x11::probe,
    .open = x11::open,
    .close = x11::close,
    .create_window = x11::create_window,
    .destroy_window = x11::destroy_window,
    .show_window = x11::show_window,
    .set_title = x11::set_title,
    .present = x11::present,
    .caret_changed = x11::caret_changed,
    .wait_events = x11::wait_events,
    .beep = x11::beep,
};

} // namespace brelox

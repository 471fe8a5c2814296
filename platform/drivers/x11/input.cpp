// X events, one small handler per kind, reported through the layer's
// input API.
#include "x11.h"
#include "../../user/input.h"

#include <X11/keysym.h>

namespace brelox::x11 {

namespace {

XWin *target(::Window xid)
{
    auto it = state().by_xid.find(xid);
    return it != state().by_xid.end() ? it->second : nullptr;
}

void on_key(XWin *x, XKeyEvent &ev, bool down)
{
    char text[16] = "";
    KeySym sym = NoSymbol;
    int len = XLookupString(&ev, text, sizeof text, &sym, nullptr);
    KeySym unshifted = XLookupKeysym(&ev, 0);
    unsigned modifiers = 0;
    if (ev.state & ShiftMask)
        modifiers |= kModShift;
    if (ev.state & ControlMask)
        modifiers |= kModControl;
    if (ev.state & Mod1Mask)
        modifiers |= kModAlt;
    UINT vk = vk_from_keysym(unshifted != NoSymbol ? unshifted : sym);
    if (vk == 0xE7) // keypad and other keys: take the symbol with its modifiers
        vk = vk_from_keysym(sym);
    input_key(x->window, down, vk, unicode_from_keysym(sym, text, len), modifiers);
}

void on_button(XWin *x, const XButtonEvent &ev, bool down)
{
    if (ev.button != Button1)
        return;
    int s = state().scale;
    input_mouse_button(x->window, ev.x / s, ev.y / s, down);
}

void on_expose(XWin *x, const XExposeEvent &ev)
{
    int s = state().scale;
    RECT r{ev.x / s, ev.y / s, (ev.x + ev.width + s - 1) / s, (ev.y + ev.height + s - 1) / s};
    input_exposed(x->window, r);
}

void on_map(XWin *x)
{
    x->mapped = true;
    if (x->window->minimized)
        input_minimized(x->window, false);
    if (x->wants_focus) {
        x->wants_focus = false;
        give_focus(x);
    }
}

// Iconified, as the window manager says in WM_STATE (unmaps while it
// reparents the window are not).
bool iconic(XWin *x)
{
    State &s = state();
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char *data = nullptr;
    bool result = false;
    if (XGetWindowProperty(s.display, x->xid, s.atoms.wm_state, 0, 2, False, s.atoms.wm_state, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr && count >= 1 && format == 32)
        result = reinterpret_cast<long *>(data)[0] == IconicState;
    if (data != nullptr)
        XFree(data);
    return result;
}

void on_unmap(XWin *x)
{
    x->mapped = false;
    if (x->unmapping) {
        x->unmapping = false;
        return;
    }
    if (iconic(x))
        input_minimized(x->window, true);
}

void on_client_message(XWin *x, const XClientMessageEvent &ev)
{
    const Atoms &a = state().atoms;
    if (ev.message_type == a.wm_protocols && (Atom)ev.data.l[0] == a.wm_delete_window)
        input_close(x->window);
}

void on_focus(XWin *x, const XFocusChangeEvent &ev, bool in)
{
    if (ev.mode == NotifyGrab || ev.mode == NotifyUngrab || ev.detail == NotifyInferior ||
        ev.detail == NotifyPointer)
        return;
    input_focus(x->window, in);
}

} // namespace

void handle_event(XEvent &ev)
{
    XWin *x = target(ev.xany.window);
    if (x == nullptr)
        return;
    switch (ev.type) {
    case KeyPress: on_key(x, ev.xkey, true); break;
    case KeyRelease: on_key(x, ev.xkey, false); break;
    case ButtonPress: on_button(x, ev.xbutton, true); break;
    case ButtonRelease: on_button(x, ev.xbutton, false); break;
    case Expose: on_expose(x, ev.xexpose); break;
    case MapNotify: on_map(x); break;
    case UnmapNotify: on_unmap(x); break;
    case FocusIn: on_focus(x, ev.xfocus, true); break;
    case FocusOut: on_focus(x, ev.xfocus, false); break;
    case ClientMessage: on_client_message(x, ev.xclient); break;
    default: break;
    }
}

} // namespace brelox::x11

// X windows for the layer's top-level windows: the client area at the
// program's size and place, title, class, fixed size, no maximise, the
// icon, the process id, and the close button turned into WM_CLOSE.
// Message boxes are transient for their owner and modal.
#include "x11.h"
#include "../../user/icons.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace brelox::x11 {

namespace {

// _MOTIF_WM_HINTS: which functions and decorations the window manager offers.
struct MotifHints {
    unsigned long flags, functions, decorations;
    long input_mode;
    unsigned long status;
};
constexpr unsigned long kMwmFunctions = 1, kMwmDecorations = 2;
constexpr unsigned long kFuncMove = 4, kFuncMinimize = 8, kFuncClose = 32;
constexpr unsigned long kDecorBorder = 2, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32;

void set_fixed_size(const State &s, XWin *x)
{
    int w = x->window->surface.width * s.scale, h = x->window->surface.height * s.scale;
    XSizeHints *hints = XAllocSizeHints();
    hints->flags = PPosition | USPosition | PMinSize | PMaxSize;
    hints->x = x->window->client_x;
    hints->y = x->window->client_y;
    hints->min_width = hints->max_width = w;
    hints->min_height = hints->max_height = h;
    XSetWMNormalHints(s.display, x->xid, hints);
    XFree(hints);
}

void set_class(const State &s, XWin *x)
{
    XClassHint *cls = XAllocClassHint();
    std::string class_name = x->window->cls != nullptr ? x->window->cls->name : "brelox";
    cls->res_name = const_cast<char *>("brelox");
    cls->res_class = class_name.data();
    XSetClassHint(s.display, x->xid, cls);
    XFree(cls);
}

void set_motif_hints(const State &s, XWin *x, bool minimise)
{
    MotifHints m{};
    m.flags = kMwmFunctions | kMwmDecorations;
    m.functions = kFuncMove | kFuncClose | (minimise ? kFuncMinimize : 0);
    m.decorations = kDecorBorder | kDecorTitle | kDecorMenu | (minimise ? kDecorMinimize : 0);
    XChangeProperty(s.display, x->xid, s.atoms.motif_wm_hints, s.atoms.motif_wm_hints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(&m), 5);
}

void set_icon(const State &s, XWin *x)
{
    const IconImage *icon = icon_image(icon_resource_id(x->window->icon));
    if (icon == nullptr)
        return;
    // _NET_WM_ICON is width, height, then ARGB pixels, each as a CARDINAL (a long).
    std::vector<unsigned long> data;
    data.push_back((unsigned long)icon->size);
    data.push_back((unsigned long)icon->size);
    for (int i = 0; i < icon->size * icon->size; i++)
        data.push_back(icon->argb[i]);
    XChangeProperty(s.display, x->xid, s.atoms.net_wm_icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(data.data()), (int)data.size());
}

void set_pid(const State &s, XWin *x)
{
    unsigned long pid = (unsigned long)getpid();
    XChangeProperty(s.display, x->xid, s.atoms.net_wm_pid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(&pid), 1);
    char host[HOST_NAME_MAX + 1] = "";
    gethostname(host, sizeof host - 1);
    XTextProperty machine;
    char *list[] = {host};
    if (XStringListToTextProperty(list, 1, &machine)) {
        XSetWMClientMachine(s.display, x->xid, &machine);
        XFree(machine.value);
    }
}

void make_dialog(const State &s, XWin *x)
{
    Window *owner = find_window(x->window->owner);
    XWin *ox = owner != nullptr ? xwin_of(owner) : nullptr;
    if (ox != nullptr)
        XSetTransientForHint(s.display, x->xid, ox->xid);
    Atom type = s.atoms.net_wm_window_type_dialog;
    XChangeProperty(s.display, x->xid, s.atoms.net_wm_window_type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(&type), 1);
    Atom modal = s.atoms.net_wm_state_modal;
    XChangeProperty(s.display, x->xid, s.atoms.net_wm_state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(&modal), 1);
}

void make_image(const State &s, XWin *x)
{
    int w = x->window->surface.width * s.scale, h = x->window->surface.height * s.scale;
    x->pixels.assign((size_t)std::max(w, 1) * std::max(h, 1), 0xFFFFFF);
    x->image = XCreateImage(s.display, s.visual, (unsigned)s.depth, ZPixmap, 0,
                            reinterpret_cast<char *>(x->pixels.data()), (unsigned)std::max(w, 1),
                            (unsigned)std::max(h, 1), 32, 0);
}

bool window_manager_running(const State &s)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    bool running = XGetWindowProperty(s.display, RootWindow(s.display, s.screen), s.atoms.net_supporting_wm_check,
                                      0, 1, False, AnyPropertyType, &type, &format, &count, &after,
                                      &data) == Success &&
                   count == 1;
    if (data != nullptr)
        XFree(data);
    return running;
}

} // namespace

void create_window(Window *w)
{
    State &s = state();
    auto *x = new XWin;
    x->window = w;
    XSetWindowAttributes attrs{};
    attrs.background_pixel = WhitePixel(s.display, s.screen);
    attrs.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                       FocusChangeMask | StructureNotifyMask | PropertyChangeMask;
    int width = std::max(w->surface.width * s.scale, 1), height = std::max(w->surface.height * s.scale, 1);
    x->xid = XCreateWindow(s.display, RootWindow(s.display, s.screen), w->client_x, w->client_y, (unsigned)width,
                           (unsigned)height, 0, s.depth, InputOutput, s.visual, CWBackPixel | CWEventMask, &attrs);
    XSetWMProtocols(s.display, x->xid, &s.atoms.wm_delete_window, 1);
    XWMHints *wm = XAllocWMHints();
    wm->flags = InputHint | StateHint;
    wm->input = True;
    wm->initial_state = NormalState;
    XSetWMHints(s.display, x->xid, wm);
    XFree(wm);
    set_fixed_size(s, x);
    set_class(s, x);
    set_motif_hints(s, x, !w->message_box && (w->style & WS_MINIMIZEBOX) != 0);
    set_pid(s, x);
    set_icon(s, x);
    if (w->owner != nullptr)
        make_dialog(s, x);
    make_image(s, x);
    s.by_xid[x->xid] = x;
    s.by_window[w] = x;
}

void destroy_window(Window *w)
{
    State &s = state();
    XWin *x = xwin_of(w);
    if (x == nullptr)
        return;
    if (s.caret_owner == x)
        s.caret_owner = nullptr;
    // A closing message box hands the keyboard back to its owner, which X
    // would otherwise give to the root window.
    Window *owner = find_window(w->owner);
    XWin *ox = owner != nullptr ? xwin_of(owner) : nullptr;
    if (ox != nullptr && ox->mapped && x->mapped)
        give_focus(ox);
    x->image->data = nullptr; // the pixels belong to the vector
    XDestroyImage(x->image);
    XDestroyWindow(s.display, x->xid);
    XFlush(s.display);
    s.by_xid.erase(x->xid);
    s.by_window.erase(w);
    delete x;
}

void show_window(Window *w, bool visible, bool activate)
{
    State &s = state();
    XWin *x = xwin_of(w);
    if (x == nullptr)
        return;
    if (visible) {
        x->wants_focus = activate;
        XMapRaised(s.display, x->xid);
    } else {
        x->unmapping = true;
        XUnmapWindow(s.display, x->xid);
    }
    XFlush(s.display);
}

void set_title(Window *w)
{
    State &s = state();
    XWin *x = xwin_of(w);
    if (x == nullptr)
        return;
    XStoreName(s.display, x->xid, w->title.c_str());
    XChangeProperty(s.display, x->xid, s.atoms.net_wm_name, s.atoms.utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(w->title.data()), (int)w->title.size());
}

// As ShowWindow activates a window on Windows: ask the window manager, or
// where none runs (a bare Xvfb) take the focus directly.
void give_focus(XWin *x)
{
    State &s = state();
    if (window_manager_running(s)) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = x->xid;
        ev.xclient.message_type = s.atoms.net_active_window;
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 1; // from an application
        ev.xclient.data.l[1] = CurrentTime;
        XSendEvent(s.display, RootWindow(s.display, s.screen), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    }
    XSetInputFocus(s.display, x->xid, RevertToParent, CurrentTime);
    XFlush(s.display);
}

} // namespace brelox::x11

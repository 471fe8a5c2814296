// x11-close WINDOW: asks a window to close the way a close button does, by
// sending it the WM_DELETE_WINDOW client message.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: x11-close WINDOW-ID\n");
        return 2;
    }
    Display *d = XOpenDisplay(nullptr);
    if (d == nullptr)
        return 1;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = (Window)std::strtoul(argv[1], nullptr, 0);
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, ev.xclient.window, False, NoEventMask, &ev);
    XCloseDisplay(d);
    return 0;
}

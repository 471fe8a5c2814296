// The default window procedure: what a window gets for the messages it
// does not handle itself.
#include "user_internal.h"
#include "../gdi/dc.h"

using namespace brelox;

static LRESULT erase_background(Window *w, HDC hdc)
{
    if (w->background == nullptr)
        return 0;
    erase_dc_area(hdc, w->background);
    return 1;
}

extern "C" LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return erase_background(w, (HDC)wParam);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !w->minimized)
            set_focus(w);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == 0xF060) // SC_CLOSE
            send_message(w, WM_CLOSE, 0, 0);
        return 0;
    }
    return 0;
}

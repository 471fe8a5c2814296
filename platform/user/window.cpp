// Windows: creation, destruction, showing, the handle table, and sending.
#include "message_queue.h"
#include "user_internal.h"
#include "../drivers/driver.h"

#include <map>
#include <memory>

namespace brelox {

static std::map<uintptr_t, std::unique_ptr<Window>> &windows()
{
    static std::map<uintptr_t, std::unique_ptr<Window>> table;
    return table;
}

static std::vector<std::unique_ptr<Window>> &graveyard()
{
    static std::vector<std::unique_ptr<Window>> list;
    return list;
}

Window *find_window(HWND hwnd)
{
    auto it = windows().find((uintptr_t)hwnd);
    if (it == windows().end() || it->second->destroyed)
        return nullptr;
    return it->second.get();
}

std::vector<Window *> top_level_windows()
{
    std::vector<Window *> list;
    for (auto &entry : windows())
        if (!entry.second->destroyed)
            list.push_back(entry.second.get());
    return list;
}

LRESULT send_message(Window *w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (w == nullptr || w->proc == nullptr)
        return 0;
    return w->proc(w->hwnd, message, wParam, lParam);
}

static bool has_caption(DWORD style)
{
    if ((style & WS_CAPTION) == WS_CAPTION)
        return true;
    return (style & (WS_POPUP | WS_CHILD)) == 0; // overlapped windows always get one
}

static int frame_width(DWORD style)
{
    if (has_caption(style) || (style & (WS_DLGFRAME | WS_THICKFRAME)) != 0)
        return kFrameWidth;
    return (style & WS_BORDER) != 0 ? 1 : 0;
}

static void place(Window *w, int x, int y, int width, int height)
{
    int frame = frame_width(w->style);
    int caption = has_caption(w->style) ? kCaptionHeight : 0;
    w->x = x == CW_USEDEFAULT ? 0 : x;
    w->y = y == CW_USEDEFAULT ? 0 : y;
    w->width = width == CW_USEDEFAULT ? 400 : width;
    w->height = height == CW_USEDEFAULT ? 300 : height;
    w->client_x = w->x + frame;
    w->client_y = w->y + frame + caption;
    int cw = w->width - 2 * frame;
    int ch = w->height - 2 * frame - caption;
    w->surface.resize(cw > 0 ? cw : 0, ch > 0 ? ch : 0);
}

static uintptr_t next_handle_value()
{
    static uintptr_t next = 0x10000;
    next += 0x10;
    return next;
}

static void destroy(Window *w);

static HWND create(DWORD ex_style, const WindowClass *cls, LPCSTR title, DWORD style, int x, int y,
                   int width, int height, HWND owner, HINSTANCE instance, LPVOID param)
{
    uintptr_t value = next_handle_value();
    auto owned = std::make_unique<Window>();
    Window *w = owned.get();
    w->hwnd = (HWND)value;
    w->cls = cls;
    w->proc = cls->record.lpfnWndProc;
    w->title = title != nullptr ? title : "";
    w->style = style & ~WS_VISIBLE;
    w->ex_style = ex_style;
    w->owner = owner;
    w->background = cls->record.hbrBackground;
    w->icon = cls->record.hIcon;
    place(w, x, y, width, height);
    windows()[value] = std::move(owned);

    driver().create_window(w);
    driver().set_title(w);

    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hwndParent = owner;
    cs.cx = w->width;
    cs.cy = w->height;
    cs.x = w->x;
    cs.y = w->y;
    cs.style = (LONG)style;
    cs.lpszName = title;
    cs.lpszClass = cls->name.c_str();
    cs.dwExStyle = ex_style;
    if (!send_message(w, WM_NCCREATE, 0, (LPARAM)&cs)) {
        destroy(w);
        return nullptr;
    }
    RECT rc = w->client_rect();
    send_message(w, WM_NCCALCSIZE, FALSE, (LPARAM)&rc);
    if (send_message(w, WM_CREATE, 0, (LPARAM)&cs) == -1) {
        destroy(w);
        return nullptr;
    }
    send_message(w, WM_SIZE, SIZE_RESTORED,
                 (LPARAM)(((DWORD)w->surface.height << 16) | (DWORD)w->surface.width));
    send_message(w, WM_MOVE, 0, (LPARAM)(((DWORD)(w->client_y & 0xFFFF) << 16) | (DWORD)(w->client_x & 0xFFFF)));
    if ((style & WS_VISIBLE) != 0)
        ShowWindow(w->hwnd, SW_SHOW);
    return w->hwnd;
}

static void destroy(Window *w)
{
    for (Window *other : top_level_windows())
        if (other->owner == w->hwnd && other != w)
            destroy(other);
    if (w->destroyed)
        return;
    if (w->visible) {
        w->visible = false;
        driver().show_window(w, false, false);
    }
    forget_window(w);
    send_message(w, WM_DESTROY, 0, 0);
    caret_window_gone(w);
    send_message(w, WM_NCDESTROY, 0, 0);
    w->destroyed = true;
    drop_messages_for(w->hwnd);
    driver().destroy_window(w);
    // Callers up the stack may still hold the record: it is freed at the
    // next message retrieval, not here.
    auto it = windows().find((uintptr_t)w->hwnd);
    graveyard().push_back(std::move(it->second));
    windows().erase(it);
}

void free_destroyed_windows() { graveyard().clear(); }

} // namespace brelox

using namespace brelox;

extern "C" HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x,
                                       int y, int width, int height, HWND parent, HMENU menu,
                                       HINSTANCE instance, LPVOID param)
{
    (void)menu;
    const WindowClass *cls = find_class(class_name);
    if (cls == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if ((style & WS_CHILD) != 0) { // this layer keeps top-level windows only
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return create(ex_style, cls, title, style, x, y, width, height, parent, instance, param);
}

extern "C" BOOL WINAPI DestroyWindow(HWND hwnd)
{
    Window *w = find_window(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    destroy(w);
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND hwnd) { return find_window(hwnd) != nullptr; }

extern "C" BOOL WINAPI ShowWindow(HWND hwnd, int command)
{
    Window *w = find_window(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL was_visible = w->visible;
    if (command == SW_HIDE) {
        if (w->visible) {
            send_message(w, WM_SHOWWINDOW, FALSE, 0);
            w->visible = false;
            driver().show_window(w, false, false);
            if (focus_window() == w)
                set_focus(nullptr);
        }
        return was_visible;
    }
    bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE;
    if (!w->visible) {
        send_message(w, WM_SHOWWINDOW, TRUE, 0);
        w->visible = true;
        w->shown_before = true;
        invalidate(w, nullptr, true);
        driver().show_window(w, true, activate);
    }
    if (activate && w->enabled)
        activate_window(w);
    return was_visible;
}

extern "C" BOOL WINAPI UpdateWindow(HWND hwnd)
{
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    if (w->visible && !w->update.empty())
        send_message(w, WM_PAINT, 0, 0);
    return TRUE;
}

extern "C" BOOL WINAPI IsWindowEnabled(HWND hwnd)
{
    Window *w = find_window(hwnd);
    return w != nullptr && w->enabled;
}

extern "C" BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable)
{
    Window *w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    BOOL was_disabled = !w->enabled;
    bool now = enable != FALSE;
    if (w->enabled != now) {
        w->enabled = now;
        if (!now && focus_window() == w)
            set_focus(nullptr);
        send_message(w, WM_ENABLE, now, 0);
    }
    return was_disabled;
}

extern "C" BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect)
{
    Window *w = find_window(hwnd);
    if (w == nullptr || rect == nullptr)
        return FALSE;
    *rect = w->client_rect();
    return TRUE;
}

extern "C" BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window *w = find_window(hwnd);
    if (w == nullptr || rect == nullptr)
        return FALSE;
    *rect = RECT{w->x, w->y, w->x + w->width, w->y + w->height};
    return TRUE;
}

extern "C" LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return send_message(find_window(hwnd), message, wParam, lParam);
}

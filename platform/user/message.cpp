// The message queue.  Separate lists per kind, taken in Windows' order:
// (sent messages are delivered at once, also from inside the driver's
// wait), then posted messages, then input, then the quit message once
// nothing is posted, then WM_PAINT made up from update regions, never
// stored.  So a message posted during a handler is taken before keys that
// arrived meanwhile, and keys typed while a handler runs wait, in order.
#include "message_queue.h"
#include "user_internal.h"
#include "input.h"
#include "../drivers/driver.h"

#include <deque>

namespace brelox {

struct InputMessage {
    MSG msg;
    int character; // what TranslateMessage makes of a key-down
    bool keyboard; // true: goes to the focus window when taken
};

static std::deque<MSG> g_posted;
static std::deque<InputMessage> g_input;
static bool g_quit = false;
static WPARAM g_quit_code = 0;

// The key-down last taken from the input list, for TranslateMessage.
static MSG g_last_key{};
static int g_last_key_character = kNoCharacter;

static bool matches(const MSG &m, HWND hwnd, UINT first, UINT last)
{
    if (hwnd != nullptr && m.hwnd != hwnd)
        return false;
    if (first == 0 && last == 0)
        return true;
    return m.message >= first && m.message <= last;
}

static void stamp(MSG &m)
{
    m.time = GetTickCount();
    m.pt = POINT{0, 0};
}

// Input waits unassigned, as in Windows' system queue: it goes to the
// window that has the focus when it is taken, so keys typed ahead of a
// message box closing reach the window that has the focus afterwards.
void queue_input(UINT message, WPARAM wParam, LPARAM lParam, int character)
{
    InputMessage in{};
    in.msg.hwnd = nullptr;
    in.msg.message = message;
    in.msg.wParam = wParam;
    in.msg.lParam = lParam;
    stamp(in.msg);
    in.character = character;
    in.keyboard = true;
    g_input.push_back(in);
}

void queue_mouse_input(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
{
    InputMessage in{};
    in.msg.hwnd = target;
    in.msg.message = message;
    in.msg.wParam = wParam;
    in.msg.lParam = lParam;
    stamp(in.msg);
    in.character = kNoCharacter;
    in.keyboard = false;
    g_input.push_back(in);
}

// Messages for a destroyed window are dropped, as Windows drops them.
void drop_messages_for(HWND hwnd)
{
    std::erase_if(g_posted, [hwnd](const MSG &m) { return m.hwnd == hwnd; });
    std::erase_if(g_input, [hwnd](const InputMessage &m) { return !m.keyboard && m.msg.hwnd == hwnd; });
}

static bool take_posted(MSG *out, HWND hwnd, UINT first, UINT last, bool remove)
{
    for (auto it = g_posted.begin(); it != g_posted.end(); ++it) {
        if (!matches(*it, hwnd, first, last))
            continue;
        *out = *it;
        if (remove)
            g_posted.erase(it);
        return true;
    }
    return false;
}

static bool take_input(MSG *out, HWND hwnd, UINT first, UINT last, bool remove)
{
    Window *focus = focus_window();
    if (focus == nullptr) // keys with no window to go to are lost, as on Windows
        std::erase_if(g_input, [](const InputMessage &m) { return m.keyboard; });
    for (auto it = g_input.begin(); it != g_input.end(); ++it) {
        if (it->keyboard)
            it->msg.hwnd = focus->hwnd;
        if (!matches(it->msg, hwnd, first, last))
            continue;
        *out = it->msg;
        if (remove) {
            if (it->msg.message == WM_KEYDOWN || it->msg.message == WM_SYSKEYDOWN) {
                g_last_key = it->msg;
                g_last_key_character = it->character;
            }
            g_input.erase(it);
        }
        return true;
    }
    return false;
}

static bool take_paint(MSG *out, HWND hwnd, UINT first, UINT last)
{
    MSG m{};
    m.message = WM_PAINT;
    if (!matches(m, nullptr, first, last))
        return false;
    for (Window *w : top_level_windows()) {
        if (hwnd != nullptr && w->hwnd != hwnd)
            continue;
        if (w->visible && !w->minimized && !w->update.empty()) {
            m.hwnd = w->hwnd;
            stamp(m);
            *out = m;
            return true;
        }
    }
    return false;
}

// One retrieval; `wait` blocks in the driver until something arrives.
static bool retrieve(MSG *out, HWND hwnd, UINT first, UINT last, bool remove, bool wait)
{
    free_destroyed_windows();
    for (;;) {
        if (take_posted(out, hwnd, first, last, remove))
            return true;
        if (take_input(out, hwnd, first, last, remove))
            return true;
        if (g_quit && g_posted.empty()) {
            *out = MSG{};
            out->message = WM_QUIT;
            out->wParam = g_quit_code;
            stamp(*out);
            if (remove)
                g_quit = false;
            return true;
        }
        if (take_paint(out, hwnd, first, last))
            return true;
        if (!wait)
            return false;
        present_changes();
        driver().wait_events();
    }
}

void present_changes()
{
    for (Window *w : top_level_windows()) {
        if (w->surface.dirty.empty())
            continue;
        RECT area = w->surface.dirty.bounds();
        w->surface.dirty.clear();
        if (w->visible)
            driver().present(w, area);
    }
}

} // namespace brelox

using namespace brelox;

extern "C" BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    retrieve(msg, hwnd, first, last, true, true);
    return msg->message != WM_QUIT;
}

extern "C" BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove)
{
    if (msg == nullptr)
        return FALSE;
    return retrieve(msg, hwnd, first, last, (remove & PM_REMOVE) != 0, false);
}

extern "C" BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd != nullptr && find_window(hwnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    stamp(m);
    g_posted.push_back(m);
    return TRUE;
}

extern "C" void WINAPI PostQuitMessage(int code)
{
    g_quit = true;
    g_quit_code = (WPARAM)code;
}

// Posts the WM_CHAR of a key-down; it is taken before the key-up because
// posted messages come before input.
extern "C" BOOL WINAPI TranslateMessage(const MSG *msg)
{
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    if (msg->hwnd != g_last_key.hwnd || msg->wParam != g_last_key.wParam || msg->lParam != g_last_key.lParam ||
        g_last_key_character == kNoCharacter)
        return FALSE;
    UINT char_message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    PostMessageA(msg->hwnd, char_message, (WPARAM)g_last_key_character, msg->lParam);
    g_last_key_character = kNoCharacter;
    return TRUE;
}

extern "C" LRESULT WINAPI DispatchMessageA(const MSG *msg)
{
    if (msg == nullptr)
        return 0;
    Window *w = find_window(msg->hwnd);
    if (w == nullptr)
        return 0;
    return send_message(w, msg->message, msg->wParam, msg->lParam);
}

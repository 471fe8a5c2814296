// Message order of creation, show and update; queue priorities; the quit
// message; keys kept while a handler runs.
#include "../support/recorder.h"
#include "drivers/headless/headless.h"

#include <windows.h>

using namespace brelox::testing;
namespace headless = brelox::headless;

namespace {

HWND make_window(const char *cls, DWORD style = WS_SYSMENU | WS_MINIMIZEBOX)
{
    return CreateWindowExA(0, cls, "title", style, 50, 150, 590, 250, nullptr, nullptr, nullptr, nullptr);
}

TEST(MessageOrder, CreationShowAndUpdate)
{
    Recorder rec;
    register_recorder_class(&rec);
    HWND hwnd = make_window("recorder");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_SEQUENCE(rec, {msg(WM_NCCREATE), optional(WM_NCCALCSIZE), msg(WM_CREATE), optional(WM_SIZE),
                          optional(WM_MOVE)});
    rec.clear();
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    EXPECT_SEQUENCE(rec, {msg(WM_SHOWWINDOW, TRUE), msg(WM_ACTIVATE, WA_ACTIVE), msg(WM_SETFOCUS)});
    rec.clear();
    UpdateWindow(hwnd);
    EXPECT_SEQUENCE(rec, {msg(WM_PAINT), msg(WM_ERASEBKGND)});
    rec.clear();
    UpdateWindow(hwnd); // nothing left to paint
    EXPECT_SEQUENCE(rec, {});
}

TEST(MessageOrder, OverlappedWindowGetsCaptionAndFixedFrame)
{
    Recorder rec;
    register_recorder_class(&rec);
    HWND hwnd = make_window("recorder");
    RECT client, outer;
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(client.right, 584);
    EXPECT_EQ(client.bottom, 225);
    EXPECT_EQ(outer.left, 50);
    EXPECT_EQ(outer.top, 150);
    EXPECT_EQ(outer.right - outer.left, 590);
    EXPECT_EQ(outer.bottom - outer.top, 250);
}

// Posted messages come before input, input before the quit message, and
// the quit message before painting.
TEST(MessageOrder, PostedThenInputThenQuitThenPaint)
{
    Recorder rec;
    register_recorder_class(&rec);
    HWND hwnd = make_window("recorder");
    ShowWindow(hwnd, SW_SHOW);
    rec.clear();
    InvalidateRect(hwnd, nullptr, TRUE);
    headless::type_now("a");
    PostMessageA(hwnd, WM_USER, 1, 0);
    PostQuitMessage(7);
    PostMessageA(hwnd, WM_USER + 1, 2, 0);

    std::vector<UINT> order;
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) {
        order.push_back(m.message);
        TranslateMessage(&m);
        DispatchMessageA(&m);
        if (order.size() > 10)
            break;
    }
    order.push_back(m.message);
    std::vector<UINT> want = {WM_USER, WM_USER + 1, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_QUIT};
    EXPECT_EQ(order, want);
    EXPECT_EQ(m.wParam, 7u);
    // The paint is still due after the quit message.
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, (UINT)WM_PAINT);
}

// Keys that arrive while a handler runs wait, in order, behind what the
// handler posts.
TEST(MessageOrder, KeysTypedDuringAHandlerWaitBehindItsPost)
{
    Recorder rec;
    register_recorder_class(&rec);
    rec.behaviour = [](HWND hwnd, UINT m, WPARAM w, LPARAM, bool *handled) -> LRESULT {
        if (m == WM_CHAR && w == 13) {
            headless::type_now("xy"); // typed while "busy"
            PostMessageA(hwnd, WM_KEYDOWN, VK_UP, 0);
            *handled = true;
        }
        return 0;
    };
    HWND hwnd = make_window("recorder");
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    headless::type_now("\r");
    rec.clear();
    MSG m;
    for (int i = 0; i < 9 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); i++) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    // The Up posted during the Enter character comes even before the Enter
    // key-up that was already waiting, as on Windows.
    EXPECT_SEQUENCE(rec, {msg(WM_KEYDOWN, VK_RETURN), msg(WM_CHAR, 13), msg(WM_KEYDOWN, VK_UP),
                          msg(WM_KEYUP, VK_RETURN), msg(WM_KEYDOWN, 'X'), msg(WM_CHAR, 'x'), msg(WM_KEYUP, 'X'),
                          msg(WM_KEYDOWN, 'Y'), msg(WM_CHAR, 'y')});
}

TEST(MessageOrder, DestroyAndClose)
{
    Recorder rec;
    register_recorder_class(&rec);
    HWND hwnd = make_window("recorder");
    ShowWindow(hwnd, SW_SHOW);
    rec.clear();
    SendMessageA(hwnd, WM_CLOSE, 0, 0); // the default procedure destroys it
    EXPECT_SEQUENCE(rec, {msg(WM_CLOSE), optional(WM_KILLFOCUS), msg(WM_DESTROY), msg(WM_NCDESTROY)});
    EXPECT_FALSE(IsWindow(hwnd));
}

} // namespace

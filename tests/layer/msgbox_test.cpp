// The message box's modal loop: the owner loses the focus, still gets its
// paint messages while the box is up, gets the focus back and the covered
// area repainted when it closes; the call returns IDOK.
#include "../support/recorder.h"
#include "drivers/headless/headless.h"
#include "internal/layer.h"

#include <windows.h>

#include <functional>

using namespace brelox::testing;
namespace headless = brelox::headless;

namespace {

brelox::Window *box_window()
{
    for (brelox::Window *w : brelox::top_level_windows())
        if (w->message_box)
            return w;
    return nullptr;
}

TEST(MessageBox, ModalLoopFocusAndRepaint)
{
    Recorder rec;
    register_recorder_class(&rec);
    HWND owner = CreateWindowExA(0, "recorder", "owner", WS_SYSMENU | WS_MINIMIZEBOX, 50, 150, 590, 250, nullptr,
                                 nullptr, nullptr, nullptr);
    ShowWindow(owner, SW_SHOW);
    UpdateWindow(owner);
    rec.clear();

    headless::Script s;
    s.then([&] {
        brelox::Window *box = box_window();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->title, "WARNING");
        EXPECT_EQ(box->owner, owner);
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(GetFocus(), box->hwnd);
        EXPECT_EQ(headless::text_at(box->hwnd, 16 + 32 + 12, 24, 16), "Port open error ");
        headless::write_png(box->hwnd, BRELOX_ARTIFACT_DIR "/message_box.png");
        EXPECT_SEQUENCE(rec, {msg(WM_KILLFOCUS), optional(WM_ENABLE), optional(WM_ACTIVATE)});
        rec.clear();
    });
    s.type("abc"); // keys go to the box, not to the owner
    s.cover(RECT{0, 0, 100, 40}).uncover();
    s.then([&] {
        EXPECT_SEQUENCE(rec, {msg(WM_PAINT), msg(WM_ERASEBKGND)});
        rec.clear();
    });
    s.answer_box();
    headless::set_script(s);

    EXPECT_EQ(MessageBoxA(owner, "Port open error ", "WARNING", MB_ICONWARNING), IDOK);
    EXPECT_EQ(box_window(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetFocus(), owner);
    EXPECT_SEQUENCE(rec, {optional(WM_ENABLE), msg(WM_ACTIVATE, WA_ACTIVE), msg(WM_SETFOCUS)});
    ASSERT_EQ(brelox::message_box_log().size(), 1u);
    EXPECT_EQ(brelox::message_box_log()[0].text, "Port open error ");
    EXPECT_EQ(brelox::message_box_log()[0].type, (UINT)MB_ICONWARNING);
    // The area the box covered is due for repainting.
    rec.clear();
    MSG m;
    // The key-up of the Enter that closed the box comes to the owner first,
    // as on Windows; then the paint.
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, (UINT)WM_KEYUP);
    EXPECT_EQ(m.hwnd, owner);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, (UINT)WM_PAINT);
    DispatchMessageA(&m);
    RECT client;
    GetClientRect(owner, &client);
    EXPECT_SEQUENCE(rec, {msg(WM_PAINT), msg(WM_ERASEBKGND)});
}

} // namespace

namespace {

// Keys wait unassigned and go to the window that has the focus when they
// are taken: what is typed after the key that closes a box reaches the owner.
TEST(MessageBox, KeysTypedAheadOfTheCloseGoToTheOwner)
{
    Recorder rec;
    register_recorder_class(&rec);
    HWND owner = CreateWindowExA(0, "recorder", "owner", WS_SYSMENU, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                 nullptr);
    ShowWindow(owner, SW_SHOW);
    UpdateWindow(owner);
    headless::Script s;
    s.then([] { headless::type_now("\rq"); });
    headless::set_script(s);
    EXPECT_EQ(MessageBoxA(owner, "Receive error ", "WARNING", MB_ICONWARNING), IDOK);
    rec.clear();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    bool got_q = false;
    for (const Received &r : rec.log)
        got_q = got_q || (r.message == WM_CHAR && r.wParam == 'q');
    EXPECT_TRUE(got_q) << "the q typed after Enter was lost";
}

} // namespace

namespace {

// A click closes the box only on the OK button; the keys that close it are
// Enter, Esc and Space.
TEST(MessageBox, ClosedByItsKeysOrAClickOnOk)
{
    struct {
        const char *what;
        std::function<void(headless::Script &)> answer;
    } cases[] = {
        {"enter", [](headless::Script &s) { s.type("\r"); }},
        {"esc", [](headless::Script &s) { s.type("\x1b"); }},
        {"space", [](headless::Script &s) { s.type(" "); }},
        {"click on OK after a click beside it", [](headless::Script &s) {
             s.click_box(5, 5);
             s.then([] {
                 bool up = false;
                 for (brelox::Window *w : brelox::top_level_windows())
                     up = up || w->message_box;
                 EXPECT_TRUE(up) << "a click beside the button closed the box";
             });
             // "Port open error " gives a client area of 204 x 106; OK is centred in the strip.
             s.click_box(102, 84);
         }},
    };
    Recorder rec;
    register_recorder_class(&rec);
    HWND owner = CreateWindowExA(0, "recorder", "owner", WS_SYSMENU, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                 nullptr);
    ShowWindow(owner, SW_SHOW);
    for (auto &c : cases) {
        headless::Script s;
        c.answer(s);
        headless::set_script(s);
        EXPECT_EQ(MessageBoxA(owner, "Port open error ", "WARNING", MB_ICONWARNING), IDOK) << c.what;
        EXPECT_FALSE(headless::script_ran_out()) << c.what << ": the box did not close";
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&m);
    }
}

} // namespace

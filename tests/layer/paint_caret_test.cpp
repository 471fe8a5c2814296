// Painting (BeginPaint clips and erases) and the caret (hide count; drawn
// over the surface, never into it).
#include "../support/recorder.h"
#include "drivers/headless/headless.h"
#include "internal/layer.h"

#include <windows.h>

using namespace brelox::testing;
namespace headless = brelox::headless;

namespace {

HWND shown_window(Recorder &rec)
{
    register_recorder_class(&rec);
    HWND hwnd = CreateWindowExA(0, "recorder", "t", WS_SYSMENU, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return hwnd;
}

void fill_with_text(HWND hwnd)
{
    HDC dc = GetDC(hwnd);
    SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    for (int y = 0; y < 80; y += 16)
        TextOutA(dc, 0, y, "XXXXXXXXXXXXXXXXXXXXXXXX", 24);
    ReleaseDC(hwnd, dc);
}

TEST(Paint, BeginPaintErasesAndClipsToTheUpdateRegion)
{
    Recorder rec;
    HWND hwnd = shown_window(rec);
    fill_with_text(hwnd);
    RECT a{0, 0, 16, 16}, b{96, 32, 112, 48};
    InvalidateRect(hwnd, &a, TRUE);
    InvalidateRect(hwnd, &b, TRUE);
    rec.clear();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    EXPECT_SEQUENCE(rec, {msg(WM_ERASEBKGND)});
    EXPECT_EQ(ps.rcPaint.left, 0);
    EXPECT_EQ(ps.rcPaint.right, 112);
    // The erase whitened exactly the two rectangles.
    EXPECT_TRUE(headless::blank(hwnd, a));
    EXPECT_TRUE(headless::blank(hwnd, b));
    EXPECT_EQ(headless::text_at(hwnd, 16, 0, 2), "XX");
    EXPECT_EQ(headless::text_at(hwnd, 80, 32, 2), "XX");
    // Drawing everywhere changes only the update region.
    SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    for (int y = 0; y < 80; y += 16)
        TextOutA(dc, 0, y, "OOOOOOOOOOOOOOOOOOOOOOOO", 24);
    EndPaint(hwnd, &ps);
    EXPECT_EQ(headless::text_at(hwnd, 0, 0, 3), "OOX");
    EXPECT_EQ(headless::text_at(hwnd, 88, 32, 4), "XOOX");
    EXPECT_EQ(headless::text_at(hwnd, 0, 32, 2), "XX");
    // Validated: no WM_PAINT is due any more.
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
}

TEST(Paint, TextIsClippedAtTheWindowEdgeAndEveryByteIsOneCell)
{
    Recorder rec;
    HWND hwnd = shown_window(rec); // client 194 x 72
    HDC dc = GetDC(hwnd);
    const char bytes[] = {'A', 0, 0x1B, '\x7F', '\xE9', 'Z'};
    EXPECT_TRUE(TextOutA(dc, 0, 0, bytes, 6));
    EXPECT_TRUE(TextOutA(dc, 180, 20, "ABCDEFG", 7)); // runs past the right edge
    ReleaseDC(hwnd, dc);
    for (int i = 0; i < 6; i++)
        EXPECT_TRUE(headless::cell_shows(hwnd, 8 * i, 0, (uint8_t)bytes[i])) << "byte " << i;
    EXPECT_EQ(headless::text_at(hwnd, 0, 0, 1), "A");
    EXPECT_EQ(headless::text_at(hwnd, 40, 0, 1), "Z");
}

TEST(Caret, HideCountNeedsOneShowPerHide)
{
    Recorder rec;
    HWND hwnd = shown_window(rec);
    ASSERT_TRUE(CreateCaret(hwnd, nullptr, 8, 2));
    const brelox::CaretState &c = brelox::caret_state();
    EXPECT_FALSE(c.shown()); // a new caret starts hidden
    ShowCaret(hwnd);
    EXPECT_TRUE(c.shown());
    HideCaret(hwnd);
    HideCaret(hwnd);
    ShowCaret(hwnd);
    EXPECT_FALSE(c.shown());
    ShowCaret(hwnd);
    EXPECT_TRUE(c.shown());
    SetCaretPos(140, 80);
    EXPECT_EQ(c.x, 140);
    EXPECT_EQ(c.y, 80);
    EXPECT_EQ(c.width, 8);
    EXPECT_EQ(c.height, 2);
    DestroyCaret();
    EXPECT_FALSE(c.shown());
    EXPECT_FALSE(ShowCaret(hwnd)); // no caret to show
}

TEST(Caret, DrawingWhileShownDoesNotDamageTheSurface)
{
    Recorder rec;
    HWND hwnd = shown_window(rec);
    CreateCaret(hwnd, nullptr, 8, 2);
    SetCaretPos(8, 12);
    ShowCaret(hwnd);
    HDC dc = GetDC(hwnd);
    TextOutA(dc, 0, 0, "__", 2);
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(headless::text_at(hwnd, 0, 0, 2), "__");
    HideCaret(hwnd);
    EXPECT_EQ(headless::text_at(hwnd, 0, 0, 2), "__");
    DestroyCaret();
}

} // namespace

// MessageBoxA: a modal box built as a window of this layer and drawn with
// the same GDI: the title in its caption, an exclamation sign, the text and
// an OK button.  While it is up its owner is disabled and has no focus; the
// box runs its own message loop, through which the owner still gets its
// paint and focus messages.  On close the owner is enabled, gets the focus
// back, and the area the box covered is repainted.
#include "user_internal.h"
#include "../gdi/dc.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace brelox {

static std::vector<MessageBoxRecord> g_log;
const std::vector<MessageBoxRecord> &message_box_log() { return g_log; }

namespace {

constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kGap = 12;
constexpr int kStrip = 42;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr uint32_t kStripColour = 0xF0F0F0;
constexpr uint32_t kButtonBorder = 0x707070;
constexpr uint32_t kSignColour = 0xFFCC00;

struct BoxState {
    std::string text;
    UINT type = 0;
    bool done = false;
    int result = IDOK;
};

std::map<HWND, BoxState *> g_boxes;

int text_width(const std::string &text) { return (int)text.size() * 8; }

RECT button_rect(const Window *w)
{
    int left = (w->surface.width - kButtonWidth) / 2;
    int top = w->surface.height - kStrip + (kStrip - kButtonHeight) / 2;
    return RECT{left, top, left + kButtonWidth, top + kButtonHeight};
}

void fill(Window *w, const DeviceContext *dc, int l, int t, int r, int b, uint32_t rgb)
{
    fill_surface(w, RECT{l, t, r, b}, rgb, dc);
}

// A yellow triangle with a black outline and a black exclamation mark.
void draw_sign(Window *w, const DeviceContext *dc, int x, int y)
{
    for (int row = 2; row < 30; row++) {
        int half = (row - 2) * 14 / 27;
        int l = x + 16 - half - 1, r = x + 16 + half + 1;
        fill(w, dc, l, y + row, r, y + row + 1, kBlack);
        if (row < 29)
            fill(w, dc, l + 1, y + row, r - 1, y + row + 1, kSignColour);
    }
    fill(w, dc, x + 15, y + 10, x + 17, y + 22, kBlack);
    fill(w, dc, x + 15, y + 24, x + 17, y + 26, kBlack);
    put_cells(w, x, y + 8, "!");
}

void paint_box(Window *w, BoxState *state)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(w->hwnd, &ps);
    DeviceContext *dc = dc_from(hdc);
    int width = w->surface.width, height = w->surface.height;
    fill(w, dc, 0, height - kStrip, width, height, kStripColour);
    draw_sign(w, dc, kMargin, kMargin);
    SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    TextOutA(hdc, kMargin + kIconSize + kGap, kMargin + 8, state->text.c_str(), (int)state->text.size());
    RECT b = button_rect(w);
    fill(w, dc, b.left, b.top, b.right, b.bottom, kButtonBorder);
    fill(w, dc, b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, kWhite);
    int label_x = b.left + (kButtonWidth - 16) / 2;
    TextOutA(hdc, label_x, b.top + 4, "OK", 2);
    put_cells(w, label_x - 16, b.top + 4, "[");
    put_cells(w, label_x + 24, b.top + 4, "]");
    EndPaint(w->hwnd, &ps);
}

void finish(BoxState *state, int result)
{
    state->done = true;
    state->result = result;
}

LRESULT CALLBACK box_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = g_boxes.find(hwnd);
    BoxState *state = it != g_boxes.end() ? it->second : nullptr;
    Window *w = find_window(hwnd);
    if (state == nullptr || w == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        paint_box(w, state);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_SPACE)
            finish(state, IDOK);
        return 0;
    case WM_LBUTTONUP: {
        RECT b = button_rect(w);
        int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
        if (x >= b.left && x < b.right && y >= b.top && y < b.bottom)
            finish(state, IDOK);
        return 0;
    }
    case WM_CLOSE:
        finish(state, IDOK);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void register_box_class()
{
    static bool done = false;
    if (done)
        return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = box_proc;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "#32770";
    RegisterClassA(&wc);
    done = true;
}

// Centred over the owner's window, or on a 640 x 480 screen without one.
POINT centred(Window *owner, int width, int height)
{
    RECT area = owner != nullptr ? RECT{owner->x, owner->y, owner->x + owner->width, owner->y + owner->height}
                                 : RECT{0, 0, 640, 480};
    return POINT{(area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2};
}

} // namespace
} // namespace brelox

using namespace brelox;

extern "C" int WINAPI MessageBoxA(HWND owner_hwnd, LPCSTR text, LPCSTR caption, UINT type)
{
    Window *owner = owner_hwnd != nullptr ? find_window(owner_hwnd) : nullptr;
    BoxState state;
    state.text = text != nullptr ? text : "";
    state.type = type;
    std::string title = caption != nullptr ? caption : "Error";
    g_log.push_back(MessageBoxRecord{owner_hwnd, state.text, title, type});

    register_box_class();
    int client_w = std::max(kMargin + kIconSize + kGap + text_width(state.text) + kMargin, 180);
    int client_h = kMargin + kIconSize + kMargin + kStrip;
    int width = client_w + 2 * kFrameWidth, height = client_h + 2 * kFrameWidth + kCaptionHeight;
    POINT at = centred(owner, width, height);
    HWND box = CreateWindowExA(0, "#32770", title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, at.x, at.y,
                               width, height, owner != nullptr ? owner->hwnd : nullptr, nullptr, nullptr,
                               nullptr);
    if (box == nullptr)
        return 0;
    g_boxes[box] = &state;
    find_window(box)->message_box = true;
    if (owner != nullptr)
        EnableWindow(owner->hwnd, FALSE);
    ShowWindow(box, SW_SHOW);
    MessageBeep(type & 0xF0);

    MSG msg;
    while (!state.done && find_window(box) != nullptr) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage((int)msg.wParam); // the program's loop must see it too
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    Window *bw = find_window(box);
    owner = owner_hwnd != nullptr ? find_window(owner_hwnd) : nullptr; // it may have gone meanwhile
    RECT covered{0, 0, 0, 0};
    if (bw != nullptr && owner != nullptr)
        covered = RECT{bw->x - owner->client_x, bw->y - owner->client_y, bw->x + bw->width - owner->client_x,
                       bw->y + bw->height - owner->client_y};
    if (owner != nullptr)
        EnableWindow(owner_hwnd, TRUE);
    if (bw != nullptr)
        DestroyWindow(box);
    g_boxes.erase(box);
    if (owner != nullptr && find_window(owner_hwnd) != nullptr) {
        activate_window(owner);
        invalidate(owner, &covered, true);
    }
    return state.result;
}

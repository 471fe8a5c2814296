// The scripted operator: keys, focus, minimise and restore, covering, the
// message box, and checks run between the steps.
#include "headless.h"
#include "../../gdi/codepage.h"
#include "../../user/input.h"
#include "../../user/user_internal.h"

namespace brelox::headless {

namespace {

struct KeyStroke {
    UINT vk;
    int unicode;
    unsigned modifiers;
};

// The key a person presses on a US keyboard for a byte.
KeyStroke stroke_for(uint8_t b)
{
    if (b >= 'a' && b <= 'z')
        return {(UINT)(b - 'a' + 'A'), b, 0};
    if (b >= 'A' && b <= 'Z')
        return {b, b, kModShift};
    if (b >= '0' && b <= '9')
        return {b, b, 0};
    switch (b) {
    case ' ': return {VK_SPACE, ' ', 0};
    case '+': return {VK_OEM_PLUS, '+', kModShift};
    case '=': return {VK_OEM_PLUS, '=', 0};
    case '-': return {VK_OEM_MINUS, '-', 0};
    case 13: return {VK_RETURN, 13, 0};
    case 27: return {VK_ESCAPE, 27, 0};
    case 8: return {VK_BACK, 8, 0};
    case 9: return {VK_TAB, 9, 0};
    case 0: return {'2', 0, kModControl | kModShift};
    case 28: return {VK_OEM_5, 28, kModControl};
    case 29: return {VK_OEM_6, 29, kModControl};
    case 30: return {'6', 30, kModControl | kModShift};
    case 31: return {VK_OEM_MINUS, 31, kModControl | kModShift};
    case 127: return {VK_BACK, 127, kModControl};
    }
    if (b < 27)
        return {(UINT)('A' + b - 1), b, kModControl};
    return {0xE7 /* VK_PACKET */, (int)cp1252_to_unicode(b), 0};
}

void press(const KeyStroke &k)
{
    Window *w = focus_window();
    input_key(w, true, k.vk, k.unicode, k.modifiers);
    input_key(w, false, k.vk, k.unicode, k.modifiers);
}

} // namespace

void type_now(const std::string &bytes)
{
    for (char c : bytes)
        press(stroke_for((uint8_t)c));
}

Window *main_window()
{
    for (Window *w : top_level_windows())
        if (!w->message_box)
            return w;
    return nullptr;
}

Script &Script::key(UINT vk, int unicode, unsigned modifiers)
{
    steps.push_back({[=] { press(KeyStroke{vk, unicode, modifiers}); }});
    return *this;
}

Script &Script::type(const std::string &bytes)
{
    for (char c : bytes) {
        KeyStroke k = stroke_for((uint8_t)c);
        steps.push_back({[=] { press(k); }});
    }
    return *this;
}

Script &Script::focus_away()
{
    steps.push_back({[] {
        if (Window *w = active_window())
            input_focus(w, false);
    }});
    return *this;
}

Script &Script::focus_back()
{
    steps.push_back({[] { input_focus(main_window(), true); }});
    return *this;
}

Script &Script::minimise()
{
    steps.push_back({[] { input_minimized(main_window(), true); }});
    return *this;
}

Script &Script::restore()
{
    steps.push_back({[] { input_minimized(main_window(), false); }});
    return *this;
}

// What was under the other window is scribbled over, so that an area the
// program fails to repaint shows.
Script &Script::cover(const RECT &area)
{
    covered_ = area;
    steps.push_back({[area] {
        Window *w = main_window();
        RECT r = intersect(area, w->client_rect());
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++)
                w->surface.set(x, y, 0x808080);
    }});
    return *this;
}

Script &Script::uncover()
{
    RECT area = covered_;
    steps.push_back({[area] { input_exposed(main_window(), area); }});
    return *this;
}

Script &Script::answer_box()
{
    steps.push_back({[] { press(KeyStroke{VK_RETURN, 13, 0}); }});
    return *this;
}

Script &Script::click_box(int x, int y)
{
    steps.push_back({[x, y] {
        for (Window *w : top_level_windows())
            if (w->message_box) {
                input_mouse_button(w, x, y, true);
                input_mouse_button(w, x, y, false);
            }
    }});
    return *this;
}

Script &Script::close()
{
    steps.push_back({[] { input_close(main_window()); }});
    return *this;
}

Script &Script::then(std::function<void()> check)
{
    steps.push_back({std::move(check)});
    return *this;
}

} // namespace brelox::headless

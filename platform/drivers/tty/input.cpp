// Reading the terminal's keys: everything waiting is read at once and
// reported in order; keys typed while the program was busy have waited in
// the terminal's input buffer.
#include "tty.h"
#include "../../user/input.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

namespace brelox::tty {

namespace {

Window *main_window()
{
    for (Window *w : state().windows)
        if (!w->message_box)
            return w;
    return nullptr;
}

void press(const TermKey &k)
{
    Window *w = main_window();
    input_key(w, true, k.vk, k.unicode, k.modifiers);
    input_key(w, false, k.vk, k.unicode, k.modifiers);
}

// A resize repaints everything, as a window that was uncovered.
void resized()
{
    for (Window *w : state().windows)
        input_exposed(w, w->client_rect());
    state().dirty = true;
}

} // namespace

void read_keys()
{
    for (;;) {
        wint_t ch = 0;
        int kind = get_wch(&ch);
        if (kind == ERR)
            return;
        if (kind == KEY_CODE_YES) {
            TermKey key{};
            if (ch == KEY_RESIZE)
                resized();
            else if (key_from_curses((int)ch, &key))
                press(key);
            continue;
        }
        press(key_from_character((wchar_t)ch));
    }
}

} // namespace brelox::tty

// The terminal driver's state and its parts, shared by the files of
// platform/drivers/tty.
#pragma once

#include "../driver.h"

#include <csignal>
#include <vector>

namespace brelox::tty {

constexpr int kMinCols = 73;
constexpr int kMinRows = 15;

struct State {
    bool open = false;
    bool utf8 = false;
    bool dirty = true;
    std::vector<Window *> windows; // top-level windows, in creation order
    Window *caret_window = nullptr;
    CaretView caret;
    int close_requests = 0;
};

State &state();

// present.cpp
void draw_screen();

// input.cpp
void read_keys();

// keymap.cpp: a key the terminal reports, as a virtual key and character.
struct TermKey {
    UINT vk;
    int unicode;
    unsigned modifiers;
};
bool key_from_curses(int code, TermKey *key);    // KEY_* codes
TermKey key_from_character(wchar_t ch);            // typed characters and control codes

// What a byte looks like on the terminal: never a control code.
wchar_t display_character(uint8_t byte, bool utf8);

extern volatile std::sig_atomic_t g_stop_signal;

} // namespace brelox::tty

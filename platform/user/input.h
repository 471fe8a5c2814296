// What display drivers report upwards, one function per kind of event.
// Drivers call these from inside their wait_events(); they never call the
// application.
#pragma once

#include "../internal/layer.h"

namespace brelox {

enum KeyModifiers : unsigned {
    kModShift = 1,
    kModControl = 2,
    kModAlt = 4,
};

constexpr int kNoCharacter = -1;

// A key went down or up.  `unicode` is the character the driver's keyboard
// gives for it (kNoCharacter if none); the layer turns it into the ANSI
// character of WM_CHAR, correcting control combinations on its own.
void input_key(Window *w, bool down, UINT vk, int unicode, unsigned modifiers);
// The left button went down or up at (x, y) of the window's client area.
void input_mouse_button(Window *w, int x, int y, bool down);
void input_focus(Window *w, bool gained);
void input_minimized(Window *w, bool minimized);
void input_exposed(Window *w, const RECT &area);
void input_close(Window *w);

} // namespace brelox

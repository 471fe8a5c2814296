// Shared inside platform/user: classes, activation and focus, the queue,
// painting and the caret, as the other files of the layer call them.
#pragma once

#include "../internal/layer.h"

namespace brelox {

const WindowClass *find_class(const char *name);

// Window metrics of a frame: fixed 3-pixel frame, 19-pixel caption.
constexpr int kFrameWidth = 3;
constexpr int kCaptionHeight = 19;

// Activation and focus (focus.cpp).
void activate_window(Window *w);
void set_focus(Window *w);
Window *focus_window();
Window *active_window();
void forget_window(Window *w); // a window is going away
void free_destroyed_windows();

// Painting (paint.cpp).
void invalidate(Window *w, const RECT *area, bool erase);
Window *window_needing_paint();

// Presenting what changed (called before the driver waits).
void present_changes();

// The caret (caret.cpp).
void caret_window_gone(Window *w);
} // namespace brelox

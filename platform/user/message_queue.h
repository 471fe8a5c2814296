// The queue's entry for input events, used by input.cpp.
#pragma once

#include "../internal/layer.h"


namespace brelox {

void queue_input(UINT message, WPARAM wParam, LPARAM lParam, int character);
// Mouse input goes to the window it happened in, not to the focus.
void queue_mouse_input(HWND target, UINT message, WPARAM wParam, LPARAM lParam);
void drop_messages_for(HWND hwnd);

} // namespace brelox

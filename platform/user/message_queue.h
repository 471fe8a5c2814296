// The queue's entry for input events, used by input.cpp.
#pragma once

#include "../internal/layer.h"

#include <cstddef>

namespace brelox {

void queue_input(UINT message, WPARAM wParam, LPARAM lParam, int character);
size_t pending_input_count();
void drop_messages_for(HWND hwnd);

} // namespace brelox

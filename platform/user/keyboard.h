#pragma once

#include <windows.h>

namespace brelox {

// The WM_CHAR character of a key-down, or kNoCharacter.
int translate_character(UINT vk, int unicode, unsigned modifiers);

} // namespace brelox

// Windows-1252, the ANSI code page of the program: bytes to Unicode and back.
#pragma once

#include <cstdint>

namespace brelox {

// The character a byte stands for; 0xFFFD for the five unassigned bytes.
// The C0 and C1 control codes stand for themselves.
uint32_t cp1252_to_unicode(uint8_t byte);

// The byte for a character, or '?' when Windows-1252 has none.
uint8_t unicode_to_cp1252(uint32_t ch);

// The picture a terminal or the font shows for a control code (0 to 31 and
// 127: the classic PC symbols; 128 to 159: a middle dot), so that no
// control code is ever drawn as itself.
uint32_t control_picture(uint8_t byte);
bool is_control_byte(uint8_t byte);

} // namespace brelox

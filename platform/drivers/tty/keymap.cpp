// Terminal keys to virtual keys: data, kept apart from the code that reads
// the keyboard.  In raw mode every control key arrives as its code: Ctrl+C
// is byte 3 and Ctrl+Z byte 26, characters like any other, as on Windows.
#include "tty.h"
#include "../../gdi/codepage.h"
#include "../../user/input.h"

#include <curses.h>

namespace brelox::tty {

namespace {

struct CursesKey {
    int code;
    UINT vk;
    int unicode;
};

const CursesKey kCursesKeys[] = {
    {KEY_UP, VK_UP, kNoCharacter},         {KEY_DOWN, VK_DOWN, kNoCharacter},
    {KEY_LEFT, VK_LEFT, kNoCharacter},     {KEY_RIGHT, VK_RIGHT, kNoCharacter},
    {KEY_HOME, VK_HOME, kNoCharacter},     {KEY_END, VK_END, kNoCharacter},
    {KEY_PPAGE, VK_PRIOR, kNoCharacter},   {KEY_NPAGE, VK_NEXT, kNoCharacter},
    {KEY_IC, VK_INSERT, kNoCharacter},     {KEY_DC, VK_DELETE, kNoCharacter},
    {KEY_BACKSPACE, VK_BACK, 8},           {KEY_ENTER, VK_RETURN, 13},
    {KEY_BTAB, VK_TAB, 9},
};

// Control codes 0 to 31 as the key combinations that type them.
struct ControlChord {
    UINT vk;
    unsigned modifiers;
};

ControlChord chord_for_control(int c)
{
    switch (c) {
    case 0: return {'2', kModControl | kModShift};
    case 8: return {VK_BACK, 0};
    case 9: return {VK_TAB, 0};
    case 13: return {VK_RETURN, 0};
    case 27: return {VK_ESCAPE, 0};
    case 28: return {VK_OEM_5, kModControl};
    case 29: return {VK_OEM_6, kModControl};
    case 30: return {'6', kModControl | kModShift};
    case 31: return {VK_OEM_MINUS, kModControl | kModShift};
    }
    return {(UINT)('A' + c - 1), kModControl};
}

UINT vk_for_printable(wchar_t ch, unsigned *modifiers)
{
    if (ch >= 'a' && ch <= 'z')
        return (UINT)(ch - 'a' + 'A');
    if (ch >= 'A' && ch <= 'Z') {
        *modifiers = kModShift;
        return (UINT)ch;
    }
    if (ch >= '0' && ch <= '9')
        return (UINT)ch;
    switch (ch) {
    case ' ': return VK_SPACE;
    case '+': *modifiers = kModShift; return VK_OEM_PLUS;
    case '=': return VK_OEM_PLUS;
    case '-': return VK_OEM_MINUS;
    }
    return 0xE7; // VK_PACKET: a character without a key of its own
}

} // namespace

bool key_from_curses(int code, TermKey *key)
{
    for (const CursesKey &k : kCursesKeys)
        if (k.code == code) {
            *key = TermKey{k.vk, k.unicode, 0};
            return true;
        }
    if (code >= KEY_F(1) && code <= KEY_F(12)) {
        *key = TermKey{(UINT)(VK_F1 + code - KEY_F(1)), kNoCharacter, 0};
        return true;
    }
    return false;
}

TermKey key_from_character(wchar_t ch)
{
    if (ch == 127) // the Backspace key of most terminals
        return TermKey{VK_BACK, 8, 0};
    if (ch >= 0 && ch < 32) {
        ControlChord c = chord_for_control((int)ch);
        return TermKey{c.vk, (int)ch, c.modifiers};
    }
    unsigned modifiers = 0;
    UINT vk = vk_for_printable(ch, &modifiers);
    return TermKey{vk, (int)ch, modifiers};
}

wchar_t display_character(uint8_t byte, bool utf8)
{
    bool control = byte < 0x20 || byte == 0x7F || (byte >= 0x80 && byte <= 0x9F);
    if (!utf8) // only plain ASCII is sure to be safe on an unknown terminal
        return (control || byte >= 0x80) ? L'.' : (wchar_t)byte;
    if (control)
        return (wchar_t)control_picture(byte);
    return (wchar_t)cp1252_to_unicode(byte);
}

} // namespace brelox::tty

// Keyboard translation: the ANSI character a key gives, as a US layout on
// Windows gives it.  The driver says which character its keyboard produced;
// control combinations are decided here, since X11 and terminals disagree
// with Windows about some of them (Ctrl+Space, Ctrl+2).
#include "keyboard.h"
#include "input.h"
#include "../gdi/codepage.h"

namespace brelox {

struct ControlKey {
    UINT vk;
    bool shift; // needs Shift too
    int character;
};

// Control combinations other than Ctrl+letter; kNoCharacter: no WM_CHAR.
static const ControlKey kControlKeys[] = {
    {VK_OEM_4, false, 27},     // Ctrl+[
    {VK_OEM_5, false, 28},     // Ctrl+backslash
    {VK_OEM_6, false, 29},     // Ctrl+]
    {'2', true, 0},            // Ctrl+@
    {'6', true, 30},           // Ctrl+^
    {VK_OEM_MINUS, true, 31},  // Ctrl+_
    {VK_SPACE, false, 32},
    {VK_SPACE, true, 32},
    {VK_RETURN, false, 10},
    {VK_BACK, false, 127},
};

// Keys whose character does not depend on the layout.
static const ControlKey kFixedKeys[] = {
    {VK_RETURN, false, 13}, {VK_ESCAPE, false, 27}, {VK_BACK, false, 8},
    {VK_TAB, false, 9},     {VK_ADD, false, '+'},   {VK_SUBTRACT, false, '-'},
    {VK_MULTIPLY, false, '*'}, {VK_DIVIDE, false, '/'},
};

static bool gives_no_character(UINT vk)
{
    return (vk >= VK_PRIOR && vk <= VK_DELETE) || (vk >= VK_F1 && vk <= 0x87) || vk == VK_SHIFT ||
           vk == VK_CONTROL || vk == VK_MENU || vk == VK_PAUSE || vk == VK_CAPITAL || vk == 0;
}

int translate_character(UINT vk, int unicode, unsigned modifiers)
{
    bool control = (modifiers & kModControl) != 0;
    bool shift = (modifiers & kModShift) != 0;
    bool alt = (modifiers & kModAlt) != 0;
    if (control && !alt) {
        if (vk >= 'A' && vk <= 'Z')
            return (int)(vk - 'A' + 1);
        for (const ControlKey &k : kControlKeys)
            if (k.vk == vk && k.shift == shift)
                return k.character;
        if (vk != VK_ADD && vk != VK_SUBTRACT && vk != VK_MULTIPLY && vk != VK_DIVIDE && vk != VK_ESCAPE &&
            vk != VK_TAB)
            return kNoCharacter;
    }
    for (const ControlKey &k : kFixedKeys)
        if (k.vk == vk)
            return k.character;
    if (gives_no_character(vk) || unicode < 0)
        return kNoCharacter;
    return unicode_to_cp1252((uint32_t)unicode);
}

} // namespace brelox

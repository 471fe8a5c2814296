// X keysyms to virtual keys: data, kept apart from the event code.
#include "x11.h"

#include <X11/keysym.h>

namespace brelox::x11 {

namespace {

struct KeyEntry {
    KeySym sym;
    UINT vk;
};

const KeyEntry kKeys[] = {
    {XK_Up, VK_UP},           {XK_Down, VK_DOWN},         {XK_Left, VK_LEFT},
    {XK_Right, VK_RIGHT},     {XK_Home, VK_HOME},         {XK_End, VK_END},
    {XK_Page_Up, VK_PRIOR},   {XK_Page_Down, VK_NEXT},    {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},   {XK_Return, VK_RETURN},     {XK_KP_Enter, VK_RETURN},
    {XK_Escape, VK_ESCAPE},   {XK_BackSpace, VK_BACK},    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB}, {XK_space, VK_SPACE},      {XK_KP_Add, VK_ADD},
    {XK_KP_Subtract, VK_SUBTRACT}, {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Divide, VK_DIVIDE},
    {XK_KP_Up, VK_UP},        {XK_KP_Down, VK_DOWN},      {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},   {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},      {XK_Alt_R, VK_MENU},        {XK_Caps_Lock, VK_CAPITAL},
    {XK_Pause, VK_PAUSE},     {XK_bracketleft, VK_OEM_4}, {XK_backslash, VK_OEM_5},
    {XK_bracketright, VK_OEM_6}, {XK_minus, VK_OEM_MINUS}, {XK_equal, VK_OEM_PLUS},
    {XK_semicolon, VK_OEM_1}, {XK_slash, VK_OEM_2},       {XK_grave, VK_OEM_3},
    {XK_apostrophe, VK_OEM_7}, {XK_comma, VK_OEM_COMMA},  {XK_period, VK_OEM_PERIOD},
};

} // namespace

UINT vk_from_keysym(KeySym sym)
{
    if (sym >= XK_a && sym <= XK_z)
        return (UINT)(sym - XK_a + 'A');
    if (sym >= XK_A && sym <= XK_Z)
        return (UINT)(sym - XK_A + 'A');
    if (sym >= XK_0 && sym <= XK_9)
        return (UINT)(sym - XK_0 + '0');
    if (sym >= XK_F1 && sym <= XK_F12)
        return (UINT)(VK_F1 + (sym - XK_F1));
    for (const KeyEntry &k : kKeys)
        if (k.sym == sym)
            return k.vk;
    return 0xE7; // VK_PACKET: a character without a key of its own
}

int unicode_from_keysym(KeySym sym, const char *lookup, int lookup_len)
{
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF))
        return lookup_len == 1 ? (unsigned char)lookup[0] : (int)sym;
    if ((sym & 0xFF000000) == 0x01000000)
        return (int)(sym & 0x00FFFFFF);
    if (sym == XK_EuroSign)
        return 0x20AC;
    if (lookup_len == 1)
        return (unsigned char)lookup[0]; // control codes and Latin-1 from the lookup
    return -1;
}

} // namespace brelox::x11

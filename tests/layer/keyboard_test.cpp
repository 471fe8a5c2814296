// Keyboard translation: the WM_CHAR a key gives, as on Windows with a US
// layout, whatever the driver's keyboard said about the character.
#include "user/input.h"
#include "user/keyboard.h"

#include <gtest/gtest.h>

using namespace brelox;

namespace {

struct KeyCase {
    const char *what;
    UINT vk;
    int unicode; // what the driver reported
    unsigned modifiers;
    int expected; // kNoCharacter: no WM_CHAR
};

void PrintTo(const KeyCase &c, std::ostream *os) { *os << c.what; }

class Translation : public ::testing::TestWithParam<KeyCase> {};

TEST_P(Translation, GivesTheWindowsCharacter)
{
    const KeyCase &c = GetParam();
    EXPECT_EQ(translate_character(c.vk, c.unicode, c.modifiers), c.expected) << c.what;
}

constexpr unsigned C = kModControl, S = kModShift;

INSTANTIATE_TEST_SUITE_P(
    Table, Translation,
    ::testing::Values(KeyCase{"enter", VK_RETURN, 13, 0, 13}, KeyCase{"enter_as_lf", VK_RETURN, 10, 0, 13},
                      KeyCase{"esc", VK_ESCAPE, 27, 0, 27}, KeyCase{"backspace", VK_BACK, 8, 0, 8},
                      KeyCase{"tab", VK_TAB, 9, 0, 9}, KeyCase{"ctrl_a", 'A', 1, C, 1},
                      KeyCase{"ctrl_z", 'Z', 26, C, 26}, KeyCase{"ctrl_shift_a", 'A', 1, C | S, 1},
                      KeyCase{"ctrl_bracket", VK_OEM_4, 27, C, 27}, KeyCase{"ctrl_backslash", VK_OEM_5, 28, C, 28},
                      KeyCase{"ctrl_close_bracket", VK_OEM_6, 29, C, 29}, KeyCase{"ctrl_at", '2', 0, C | S, 0},
                      KeyCase{"ctrl_space_x11_says_0", VK_SPACE, 0, C, 32},
                      KeyCase{"ctrl_2_x11_says_0", '2', 0, C, kNoCharacter},
                      KeyCase{"keypad_plus", VK_ADD, '+', 0, '+'}, KeyCase{"keypad_minus", VK_SUBTRACT, '-', 0, '-'},
                      KeyCase{"e_acute", 0xE7, 0xE9, 0, 0xE9}, KeyCase{"euro", 0xE7, 0x20AC, 0, 0x80},
                      KeyCase{"outside_1252", 0xE7, 0x263A, 0, '?'}, KeyCase{"letter", 'A', 'a', 0, 'a'},
                      KeyCase{"shifted_letter", 'A', 'A', S, 'A'}, KeyCase{"plus", VK_OEM_PLUS, '+', S, '+'},
                      KeyCase{"up", VK_UP, kNoCharacter, 0, kNoCharacter},
                      KeyCase{"down", VK_DOWN, kNoCharacter, 0, kNoCharacter},
                      KeyCase{"f1", VK_F1, kNoCharacter, 0, kNoCharacter},
                      KeyCase{"delete_with_char", VK_DELETE, 127, 0, kNoCharacter},
                      KeyCase{"shift_alone", VK_SHIFT, kNoCharacter, S, kNoCharacter}),
    [](const ::testing::TestParamInfo<KeyCase> &info) { return std::string(info.param.what); });

} // namespace

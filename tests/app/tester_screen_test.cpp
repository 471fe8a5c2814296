// The tester's start screen, port selection and the send line, read off
// the surface as a person would see them.
#include "tester_checks.h"

using namespace brelox::testing;
using brelox::headless::Script;
namespace headless = brelox::headless;

namespace {

const std::string kEsc = "\x1b";

TEST(TesterScreen, StartScreenShowsEveryTextInItsPlace)
{
    IN_FRESH_PROCESS({
        Script s;
        s.then([] {
            HWND hwnd = tester_window();
            brelox::Window *w = brelox::find_window(hwnd);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->title, "Vostrelan Test");
            EXPECT_EQ(w->surface.width, 584);
            EXPECT_EQ(w->surface.height, 225);
            struct Item {
                int x, y;
                std::string text;
            };
            const Item items[] = {
                {10, 20, "        Vostrelan Test Program  Ver 1.5   Kandorwick Co., Ltd.        "},
                {10, 35, std::string(70, '-')},
                {18, 65, "   port name :"},
                {140, 67, "COM5"},
                {18, 95, "   send data :"},
                {18, 125, "receive data :"},
                {294, 185, " Press +,- or space to select port"},
                {430, 200, "Press ESC to quit"},
            };
            for (const Item &item : items)
                EXPECT_EQ(screen_text(item.x, item.y, (int)item.text.size()), item.text)
                    << "at (" << item.x << ", " << item.y << ")";
            EXPECT_TRUE(send_blank());
            EXPECT_TRUE(receive_blank());
            EXPECT_CARET_AT(140, 80);
            EXPECT_EQ(caret().width, 8);
            EXPECT_EQ(caret().height, 2);
            EXPECT_TRUE(headless::write_png(hwnd, artifact_path("start_screen.png")));
        });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

struct PortCase {
    const char *name;
    std::string to_start; // keys that bring the port to the starting number
    std::string start_name;
    char key;
    std::string after;
};

void PrintTo(const PortCase &c, std::ostream *os) { *os << c.name; }

class PortSelection : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortSelection, StepsAndWraps)
{
    const PortCase &c = GetParam();
    IN_FRESH_PROCESS({
        Script s;
        s.type(c.to_start);
        s.then([&] { EXPECT_EQ(port_field(), c.start_name + std::string(6 - c.start_name.size(), ' ')); });
        s.type(std::string(1, c.key));
        s.then([&] {
            // Ten cells are blanked first: nothing of a longer name is left.
            EXPECT_EQ(screen_text(kFieldX, kPortY, 10), c.after + std::string(10 - c.after.size(), ' '));
            EXPECT_CARET_AT(140, 80); // the caret is not moved
        });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

const std::string k250Up(250, '+');

INSTANTIATE_TEST_SUITE_P(
    Table, PortSelection,
    ::testing::Values(PortCase{"plus_from_5", "", "COM5", '+', "COM6"},
                      PortCase{"minus_from_5", "", "COM5", '-', "COM4"},
                      PortCase{"space_from_5", "", "COM5", ' ', "COM6"},
                      PortCase{"minus_from_1", "----", "COM1", '-', "COM256"},
                      PortCase{"plus_from_1", "----", "COM1", '+', "COM2"},
                      PortCase{"plus_from_255", k250Up, "COM255", '+', "COM1"},
                      PortCase{"space_from_255", k250Up, "COM255", ' ', "COM1"},
                      PortCase{"plus_from_256", "-----", "COM256", '+', "COM1"},
                      PortCase{"space_from_256", "-----", "COM256", ' ', "COM1"},
                      PortCase{"minus_from_256", "-----", "COM256", '-', "COM255"}),
    [](const ::testing::TestParamInfo<PortCase> &info) { return std::string(info.param.name); });

TEST(TesterScreen, SendLineEchoesCellByCellWithTheCaretFollowing)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN);
        const std::string typed = "ABC";
        for (size_t i = 0; i < typed.size(); i++) {
            s.type(typed.substr(i, 1));
            s.then([i, &typed] {
                EXPECT_EQ(send_field((int)i + 2), typed.substr(0, i + 1) + " ");
                EXPECT_CARET_AT(140 + 8 * ((int)i + 1), 110);
            });
        }
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterScreen, TheFortyFirstCellIsOverwrittenWithABeep)
{
    IN_FRESH_PROCESS({
        const std::string first41 = "abcdefghijklmnopqrstuvwxyz0123456789ABCDE";
        Script s;
        s.key(VK_DOWN).type(first41);
        s.then([] { EXPECT_EQ(headless::beeps(), 0); });
        s.type("WXYZ");
        s.then([&] {
            EXPECT_EQ(headless::beeps(), 4);
            EXPECT_EQ(send_field(42), first41.substr(0, 40) + "Z ");
            EXPECT_CARET_AT(140 + 8 * 41, 110);
        });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterScreen, SpacePlusAndMinusAreNotStoredOnTheSendLine)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("A +-B");
        s.then([] {
            EXPECT_EQ(send_field(3), "AB ");
            EXPECT_EQ(port_field(), "COM5  ");
        });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterScreen, ControlCodesAreStoredAndShownAsGlyphs)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("\t\b\x01" "a");
        s.then([] {
            HWND h = tester_window();
            EXPECT_TRUE(headless::cell_shows(h, 140, 96, 9));
            EXPECT_TRUE(headless::cell_shows(h, 148, 96, 8));
            EXPECT_TRUE(headless::cell_shows(h, 156, 96, 1));
            EXPECT_TRUE(headless::cell_shows(h, 164, 96, 'a'));
            EXPECT_CARET_AT(140 + 8 * 4, 110);
        });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterScreen, CharactersOnThePortLineDoNothing)
{
    IN_FRESH_PROCESS({
        Script s;
        s.type("abc\t1\r");
        s.then([] {
            EXPECT_EQ(port_field(), "COM5  ");
            EXPECT_TRUE(send_blank());
            EXPECT_EQ(headless::beeps(), 0);
            EXPECT_CARET_AT(140, 80);
        });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

} // namespace

// Moving between the lines, repaints, focus and quitting.
#include "tester_checks.h"
extern "C" {
#include "../../tester/tester.h"
}

using namespace brelox::testing;
using brelox::headless::Script;
namespace headless = brelox::headless;

namespace {

const std::string kEsc = "\x1b";

void show_received(const char *bytes)
{
    ScreenReceivedDisplay(tester_window(), reinterpret_cast<const BYTE *>(bytes), (DWORD)strlen(bytes));
}

TEST(TesterLines, DownFromThePortLineClearsBothFieldsEvenWhenNotEmpty)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("AB").key(VK_UP);
        s.then([] {
            show_received("XYZ");
            EXPECT_EQ(send_field(2), "AB");
            EXPECT_EQ(receive_field(3), "XYZ");
            EXPECT_CARET_AT(140, 80);
        });
        s.key(VK_DOWN);
        s.then([] {
            EXPECT_TRUE(send_blank());
            EXPECT_TRUE(receive_blank());
            EXPECT_CARET_AT(140, 110);
        });
        s.type("C"); // the send line was emptied: C goes to cell 0
        s.then([] { EXPECT_EQ(send_field(2), "C "); });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterLines, DownOnTheSendLineOnlyMovesTheCaretBack)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("AB").key(VK_DOWN);
        s.then([] {
            EXPECT_CARET_AT(140, 110);
            EXPECT_EQ(send_field(3), "AB ");
        });
        s.type("C");
        s.then([] {
            EXPECT_EQ(send_field(4), "ABC ");
            EXPECT_CARET_AT(140 + 24, 110);
        });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterLines, UpOnThePortLineDoesNothingAndOtherKeysAreIgnored)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_UP).key(VK_LEFT).key(VK_F1).key(VK_HOME);
        s.then([] {
            EXPECT_CARET_AT(140, 80);
            EXPECT_EQ(port_field(), "COM5  ");
        });
        s.type("+"); // still the port line
        s.then([] { EXPECT_EQ(port_field(), "COM6  "); });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

// After a repaint the port line is current while the caret may still stand
// on the send row; characters are ignored until Down, which empties the line.
void expect_after_repaint(Script &s)
{
    s.then([] {
        EXPECT_TRUE(send_blank());
        EXPECT_TRUE(receive_blank());
        EXPECT_EQ(port_field(), "COM5  ");
        EXPECT_EQ(screen_text(18, 95, 14), "   send data :");
    });
    s.type("Q");
    s.then([] { EXPECT_TRUE(send_blank()); });
    s.key(VK_DOWN).type("Z");
    s.then([] {
        EXPECT_EQ(send_field(3), "Z  ");
        EXPECT_CARET_AT(148, 110);
    });
}

TEST(TesterRepaint, MinimiseAndRestore)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("AB");
        s.then([] { show_received("AB"); });
        s.minimise().restore();
        expect_after_repaint(s);
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterRepaint, CoverAndUncover)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("AB");
        s.then([] { show_received("AB"); });
        s.cover(RECT{100, 60, 500, 160}).uncover();
        s.then([] { EXPECT_CARET_AT(140 + 16, 110); }); // the repaint leaves the caret where it was
        expect_after_repaint(s);
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterFocus, LosingAndRegainingHidesAndShowsTheCaretAtTheLineStart)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("ABC");
        s.focus_away();
        s.then([] { EXPECT_FALSE(caret().shown); });
        s.type("D"); // no focus: the key goes nowhere
        s.focus_back();
        s.then([] {
            EXPECT_CARET_AT(140, 110);
            EXPECT_EQ(send_field(4), "ABC ");
        });
        s.type("E"); // the next character moves it to the end
        s.then([] {
            EXPECT_EQ(send_field(5), "ABCE ");
            EXPECT_CARET_AT(140 + 32, 110);
        });
        s.key(VK_UP).focus_away().focus_back();
        s.then([] { EXPECT_CARET_AT(140, 80); });
        s.type(kEsc);
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(TesterQuit, EscEndsWinMainWithZeroWithoutDestroyingTheWindow)
{
    IN_FRESH_PROCESS({
        Script s;
        s.key(VK_DOWN).type("A" + kEsc);
        EXPECT_EQ(run_tester(s), 0);
        EXPECT_FALSE(headless::script_ran_out());
        EXPECT_TRUE(IsWindow(tester_window()));
    });
}

TEST(TesterQuit, ClosingTheWindowEndsWinMainWithZero)
{
    IN_FRESH_PROCESS({
        Script s;
        s.type("+").close();
        EXPECT_EQ(run_tester(s), 0);
        EXPECT_FALSE(headless::script_ran_out());
        EXPECT_EQ(tester_window(), nullptr);
    });
}

} // namespace

// The loop-back exchange over the virtual board's wirings, on the virtual
// clock: what the receive line shows, which box appears, that the dialogue
// is back on the port line, and how long the waits took.
#include "tester_checks.h"
#include "kernel/virtual_board.h"

#include <cstdlib>

using namespace brelox::testing;
using brelox::VirtualBoard;
using brelox::VirtualClock;
using brelox::Wiring;
using brelox::headless::Script;
namespace headless = brelox::headless;

namespace {

constexpr uint64_t kMs = 1000;

struct Board {
    VirtualClock clock{50};
    VirtualBoard board{clock};
    Board()
    {
        clock.set_limit_us(60 * 1000 * kMs);
        brelox::set_clock(&clock);
        brelox::set_serial_board(&board);
    }
};

struct ExchangeCase {
    const char *name;
    Wiring wiring;
    std::string line;
    std::string shown;   // the start of the receive line afterwards
    const char *box;     // the warning's text, or nullptr
    uint64_t echo_min_us; // from the write to the last look at the queue
    uint64_t echo_max_us;
};

void PrintTo(const ExchangeCase &c, std::ostream *os) { *os << c.name; }

std::string flood_text(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; i++)
        s += (char)('a' + i % 26);
    return s;
}

const std::string k41 = "Thequickbrownfoxjumpsoverthelazydog012345"; // 41 bytes, no spaces

class Exchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(Exchange, OverTheVirtualBoard)
{
    const ExchangeCase &c = GetParam();
    IN_FRESH_PROCESS({
        Board b;
        b.board.wire(7, c.wiring);
        Script s;
        s.type("++").key(VK_DOWN).type(c.line).type("\r");
        if (c.box != nullptr) {
            s.then([&] {
                ASSERT_EQ(brelox::message_box_log().size(), 1u);
                const brelox::MessageBoxRecord &box = brelox::message_box_log()[0];
                EXPECT_EQ(box.text, c.box);
                EXPECT_EQ(box.title, "WARNING");
                EXPECT_EQ(box.type, (UINT)MB_ICONWARNING);
                EXPECT_EQ(box.owner, tester_window());
            });
            s.answer_box();
        }
        s.then([&] {
            if (c.box == nullptr) {
                EXPECT_TRUE(brelox::message_box_log().empty());
                EXPECT_EQ(receive_field((int)c.shown.size() + (c.shown.size() < 55 ? 1 : 0)),
                          c.shown + (c.shown.size() < 55 ? " " : ""));
            } else {
                EXPECT_TRUE(receive_blank());
            }
            EXPECT_CARET_AT(140, 80);
        });
        s.type("+"); // the port line is current again
        s.then([] { EXPECT_EQ(port_field(), "COM8  "); });
        s.type("\x1b");
        EXPECT_EQ(run_tester(s), 0);

        const brelox::PortLog &log = b.board.log(7);
        if (c.wiring == Wiring::Absent || c.wiring == Wiring::Busy) {
            EXPECT_EQ(log.opens, 0);
            return;
        }
        EXPECT_EQ(log.opens, 1);
        EXPECT_FALSE(log.open_now) << "the port is closed after the exchange";
        EXPECT_EQ(log.queue_in, 1000u);
        EXPECT_EQ(log.queue_out, 1000u);
        EXPECT_EQ(log.settings.BaudRate, 9600u);
        EXPECT_EQ(log.settings.ByteSize, 8);
        EXPECT_EQ(log.settings.Parity, NOPARITY);
        EXPECT_EQ(log.settings.StopBits, ONESTOPBIT);
        EXPECT_EQ(log.settings.fDtrControl, (DWORD)DTR_CONTROL_ENABLE);
        EXPECT_EQ(log.settings.fRtsControl, (DWORD)RTS_CONTROL_ENABLE);
        EXPECT_TRUE(log.dtr);
        EXPECT_EQ(log.written, c.line);
        uint64_t settle = log.write_us - log.dtr_us;
        EXPECT_GE(settle, 200 * kMs);
        EXPECT_LE(settle, 201 * kMs + 200);
        uint64_t echo = log.last_status_us - log.write_us;
        EXPECT_GE(echo, c.echo_min_us);
        EXPECT_LE(echo, c.echo_max_us);
        if (c.wiring == Wiring::Flood) {
            EXPECT_EQ(log.read_count, 512u) << "no more than the buffer holds";
        }
    });
}

// 3 bytes at 9600 baud take 3.1 ms on the wire, 41 bytes 42.7 ms.
INSTANTIATE_TEST_SUITE_P(
    Table, Exchange,
    ::testing::Values(
        ExchangeCase{"loop_back", Wiring::LoopBack, "ABC", "ABC", nullptr, 3125, 3500},
        ExchangeCase{"loop_back_41_bytes", Wiring::LoopBack, k41, k41, nullptr, 42700, 43200},
        ExchangeCase{"nothing_connected", Wiring::Open, "ABC", "", "Receive error ", 200 * kMs, 201 * kMs + 300},
        ExchangeCase{"extra_bytes_wait_the_full_time", Wiring::ExtraBytes, "ABC", "ABC+++", nullptr, 200 * kMs,
                     201 * kMs + 300},
        ExchangeCase{"short_echo", Wiring::ShortEcho, "ABC", "AB", nullptr, 200 * kMs, 201 * kMs + 300},
        ExchangeCase{"late_echo", Wiring::LateEcho, "ABC", "", "Receive error ", 200 * kMs, 201 * kMs + 300},
        ExchangeCase{"flood_shows_at_most_512", Wiring::Flood, "ABC", flood_text(55), nullptr, 200 * kMs,
                     201 * kMs + 300},
        ExchangeCase{"vanishing_port", Wiring::Vanishing, "ABC", "", "Receive error ", 200 * kMs,
                     201 * kMs + 300},
        ExchangeCase{"absent_port", Wiring::Absent, "ABC", "", "Port open error ", 0, 0},
        ExchangeCase{"busy_port", Wiring::Busy, "ABC", "", "Port open error ", 0, 0}),
    [](const ::testing::TestParamInfo<ExchangeCase> &info) { return std::string(info.param.name); });

TEST(ExchangeWaits, BothLast200MsWhenTheTickCounterWraps)
{
    for (const char *start : {"4294967290", "4294967100", "4294967095"}) {
        IN_FRESH_PROCESS({
            setenv("BRELOX_TICK_START", start, 1);
            Board b;
            b.board.wire(5, Wiring::ExtraBytes); // the echo wait runs its full time
            Script s;
            s.key(VK_DOWN).type("A\r\x1b");
            EXPECT_EQ(run_tester(s), 0);
            const brelox::PortLog &log = b.board.log(5);
            uint64_t settle = log.write_us - log.dtr_us;
            uint64_t echo = log.last_status_us - log.write_us;
            EXPECT_GE(settle, 200 * kMs) << "tick start " << start;
            EXPECT_LE(settle, 201 * kMs + 200) << "tick start " << start;
            EXPECT_GE(echo, 200 * kMs) << "tick start " << start;
            EXPECT_LE(echo, 201 * kMs + 300) << "tick start " << start;
            EXPECT_EQ(receive_field(5), "A+++ ");
        });
    }
}

TEST(ExchangeKeys, KeysTypedDuringAnExchangeAreHandledAfterwardsInOrder)
{
    IN_FRESH_PROCESS({
        Board b;
        b.board.wire(5, Wiring::LoopBack);
        Script s;
        s.key(VK_DOWN).type("AB");
        s.then([&] {
            // Typed 100 ms into the exchange, while the program is busy.
            b.clock.schedule_us(b.clock.peek_us() + 100 * kMs, [] { headless::type_now("++-"); });
        });
        s.type("\r");
        s.then([] {
            EXPECT_EQ(receive_field(3), "AB ");
            EXPECT_EQ(port_field(), "COM6  "); // Up first, then + + -
            EXPECT_EQ(send_field(3), "AB ");   // none of them reached the send line
        });
        s.type("\x1b");
        EXPECT_EQ(run_tester(s), 0);
    });
}

TEST(ExchangeKeys, EnterOnThePortLineOrAnEmptySendLineDoesNothing)
{
    IN_FRESH_PROCESS({
        Board b;
        b.board.wire(5, Wiring::LoopBack);
        Script s;
        s.type("\r").key(VK_DOWN).type("\r");
        s.then([&] {
            EXPECT_EQ(b.board.log(5).opens, 0);
            EXPECT_TRUE(brelox::message_box_log().empty());
            EXPECT_CARET_AT(140, 110);
        });
        s.type("\x1b");
        EXPECT_EQ(run_tester(s), 0);
    });
}

} // namespace

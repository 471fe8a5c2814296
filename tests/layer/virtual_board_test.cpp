// The fakes the application tests stand on: the virtual clock and board.
#include "kernel/virtual_board.h"

#include <gtest/gtest.h>

#include <vector>

using namespace brelox;

namespace {

TEST(VirtualClock, EveryReadingStepsAndEventsRunInTimeOrderOnce)
{
    VirtualClock clock(50);
    std::vector<int> order;
    clock.schedule_us(300, [&] { order.push_back(2); });
    clock.schedule_us(100, [&] {
        order.push_back(1);
        clock.now_us(); // reading the clock inside an event runs no other event early
    });
    EXPECT_EQ(clock.now_us(), 50u);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(clock.now_us(), 150u) << "the reading inside the event moved time on too";
    EXPECT_EQ(order, std::vector<int>({1}));
    clock.advance_us(1000);
    EXPECT_EQ(order, std::vector<int>({1, 2}));
    clock.advance_us(1000);
    EXPECT_EQ(order.size(), 2u);
}

struct Opened {
    VirtualClock clock{10};
    VirtualBoard board{clock};
    std::unique_ptr<SerialDevice> port;
    explicit Opened(Wiring w, DWORD baud = 9600)
    {
        board.wire(3, w);
        DWORD error = 0;
        port = board.open(3, &error);
        DCB dcb{};
        port->get_state(&dcb);
        dcb.BaudRate = baud;
        port->set_state(&dcb);
    }
    DWORD waiting()
    {
        DWORD errors = 0;
        COMSTAT st{};
        port->clear_error(&errors, &st);
        return st.cbInQue;
    }
};

// 10 bits a byte: 3 bytes take 3.125 ms at 9600 baud and half that at 19200.
TEST(VirtualBoard, BytesTakeTheirWireTime)
{
    for (DWORD baud : {9600u, 19200u}) {
        Opened o(Wiring::LoopBack, baud);
        DWORD n = 0;
        o.port->write("abc", 3, &n);
        uint64_t start = o.clock.peek_us();
        uint64_t byte_us = 10000000u / baud;
        o.clock.advance_us(byte_us - 20);
        EXPECT_EQ(o.waiting(), 0u) << baud;
        o.clock.advance_us(30);
        EXPECT_EQ(o.waiting(), 1u) << baud;
        o.clock.advance_us(start + 3 * byte_us - o.clock.peek_us());
        EXPECT_EQ(o.waiting(), 3u) << baud;
        char buf[4] = "";
        EXPECT_TRUE(o.port->read(buf, 3, &n));
        EXPECT_EQ(std::string(buf, 3), "abc");
    }
}

TEST(VirtualBoard, AFullQueueLosesBytesWithAnOverrun)
{
    Opened o(Wiring::Flood);
    o.port->setup_queues(1000, 1000);
    o.clock.advance_us(10000);
    DWORD errors = 0;
    COMSTAT st{};
    o.port->clear_error(&errors, &st);
    EXPECT_EQ(st.cbInQue, 1000u);
    EXPECT_EQ(errors, (DWORD)CE_RXOVER);
    o.port->clear_error(&errors, &st);
    EXPECT_EQ(errors, 0u) << "the error is cleared once reported";
}

TEST(VirtualBoard, OpeningFollowsTheWiring)
{
    VirtualClock clock;
    VirtualBoard board(clock);
    board.wire(1, Wiring::Busy);
    board.wire(2, Wiring::LoopBack);
    DWORD error = 0;
    EXPECT_EQ(board.open(1, &error), nullptr);
    EXPECT_EQ(error, (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_EQ(board.open(9, &error), nullptr);
    EXPECT_EQ(error, (DWORD)ERROR_FILE_NOT_FOUND);
    auto first = board.open(2, &error);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(board.open(2, &error), nullptr) << "a port is exclusive";
    first.reset();
    EXPECT_NE(board.open(2, &error), nullptr);
}

TEST(VirtualBoard, AVanishedPortFailsEverything)
{
    Opened o(Wiring::Vanishing);
    DWORD n = 0;
    EXPECT_TRUE(o.port->write("a", 1, &n));
    DWORD errors = 0;
    COMSTAT st{};
    EXPECT_FALSE(o.port->clear_error(&errors, &st));
    char buf[1];
    EXPECT_FALSE(o.port->read(buf, 1, &n));
    EXPECT_FALSE(o.port->write("a", 1, &n));
}

} // namespace

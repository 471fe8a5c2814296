// What the tests read off the tester's screen, named as a person would.
#pragma once

#include "../support/app_runner.h"

#include <string>

namespace brelox::testing {

constexpr int kFieldX = 140;
constexpr int kPortY = 67;
constexpr int kSendY = 96;
constexpr int kReceiveY = 126;
constexpr int kPortRow = 80;
constexpr int kSendRow = 110;

inline std::string screen_text(int x, int y, int count) { return headless::text_at(tester_window(), x, y, count); }
inline std::string port_field() { return screen_text(kFieldX, kPortY, 6); }
inline std::string send_field(int cells) { return screen_text(kFieldX, kSendY, cells); }
inline std::string receive_field(int cells) { return screen_text(kFieldX, kReceiveY, cells); }

// The field rectangles, right of x 140 up to the window's edge.
inline RECT send_area() { return RECT{kFieldX, kSendY, 584, kSendY + 16}; }
inline RECT receive_area() { return RECT{kFieldX, kReceiveY, 584, kReceiveY + 16}; }
inline bool send_blank() { return headless::blank(tester_window(), send_area()); }
inline bool receive_blank() { return headless::blank(tester_window(), receive_area()); }

struct CaretSeen {
    bool shown;
    int x, y, width, height;
};

inline CaretSeen caret()
{
    const CaretState &c = caret_state();
    return CaretSeen{c.shown() && c.owner != nullptr && c.owner->hwnd == tester_window(), c.x, c.y, c.width,
                     c.height};
}

#define EXPECT_CARET_AT(cx, cy)                                                                                 \
    do {                                                                                                        \
        ::brelox::testing::CaretSeen seen_ = ::brelox::testing::caret();                                        \
        EXPECT_TRUE(seen_.shown) << "the caret is hidden";                                                     \
        EXPECT_EQ(seen_.x, (cx));                                                                               \
        EXPECT_EQ(seen_.y, (cy));                                                                               \
    } while (0)

} // namespace brelox::testing

// A window procedure that records what its window receives, and the
// expected-sequence tables the layer tests compare it with.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace brelox::testing {

struct Received {
    UINT message;
    WPARAM wParam;
};

struct Expected {
    UINT message;
    bool check_wparam = false;
    WPARAM wParam = 0;
    bool optional = false;
};

inline Expected msg(UINT m) { return Expected{m}; }
inline Expected msg(UINT m, WPARAM w) { return Expected{m, true, w}; }
inline Expected optional(UINT m) { return Expected{m, false, 0, true}; }

std::string message_name(UINT m);

class Recorder {
public:
    std::vector<Received> log;
    bool recording = true;
    // What the window does with a message besides recording it.
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool *handled)> behaviour;

    void clear() { log.clear(); }
    // Only messages in `filter` (or all when empty) are compared.
    void expect(const std::vector<Expected> &expected, const char *file, int line) const;
};

// Registers a class "recorder" whose windows report to `recorder`.
void register_recorder_class(Recorder *recorder, const char *name = "recorder");

} // namespace brelox::testing

#define EXPECT_SEQUENCE(recorder, ...) (recorder).expect(__VA_ARGS__, __FILE__, __LINE__)

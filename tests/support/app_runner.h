// Running the real WinMain under the headless driver, each run in a fresh
// child process: the application keeps its state in program-wide
// variables with static initial values, as on Windows, so every run must
// start from a new process image.
#pragma once

#include "drivers/headless/headless.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace brelox::testing {

// Runs `body` in a forked child; failures inside it fail the test.
void in_fresh_process(const std::function<void()> &body);

// In the current process: the headless driver, `script`, the real WinMain.
int run_tester(headless::Script script);

// The main window while the tester runs.
HWND tester_window();

// Where tests leave pictures for people to look at.
std::string artifact_path(const std::string &name);

} // namespace brelox::testing

#define IN_FRESH_PROCESS(...) ::brelox::testing::in_fresh_process([&] { __VA_ARGS__; })

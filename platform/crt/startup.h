#pragma once

#include "../drivers/driver.h"

#include <string>

namespace brelox {

// The command line after the program's name, as Windows passes it.
std::string command_tail(int argc, char **argv);

// Opens the driver, runs WinMain, closes the driver; the exit code.
int run_winmain(const Driver &d, int argc, char **argv);

} // namespace brelox

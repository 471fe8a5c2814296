// The C runtime start-up of the Linux build: choose a display driver, then
// call WinMain(instance, NULL, command line after the program's name,
// SW_SHOWDEFAULT) and return its result as the exit code.
#include "startup.h"
#include "../drivers/driver.h"

#include <cstdio>

int main(int argc, char **argv)
{
    std::string why;
    const brelox::Driver *d = brelox::choose_driver(&why);
    if (d == nullptr) {
        std::fprintf(stderr, "brelox: %s\n", why.c_str());
        return 1;
    }
    return brelox::run_winmain(*d, argc, argv);
}

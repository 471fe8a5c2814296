#include "startup.h"

#include <windows.h>

namespace brelox {

static int g_module_marker;

std::string command_tail(int argc, char **argv)
{
    std::string line;
    for (int i = 1; i < argc; i++) {
        if (i > 1)
            line += ' ';
        std::string arg = argv[i];
        bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
        line += quote ? "\"" + arg + "\"" : arg;
    }
    return line;
}

int run_winmain(const Driver &d, int argc, char **argv)
{
    set_driver(&d);
    if (!d.open())
        return 1;
    std::string tail = command_tail(argc, argv);
    int result = WinMain(reinterpret_cast<HINSTANCE>(&g_module_marker), nullptr, tail.data(), SW_SHOWDEFAULT);
    d.close();
    return result;
}

} // namespace brelox

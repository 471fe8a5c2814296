#include "app_runner.h"
#include "crt/startup.h"
#include "drivers/registry_list.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace brelox::testing {

void in_fresh_process(const std::function<void()> &body)
{
    std::fflush(nullptr);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        body();
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "the child process died (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << "the checks in the child process failed";
}

int run_tester(headless::Script script)
{
    headless::set_script(std::move(script));
    char name[] = "brelox";
    char *argv[] = {name, nullptr};
    return run_winmain(headless_driver, 1, argv);
}

HWND tester_window()
{
    Window *w = headless::main_window();
    return w != nullptr ? w->hwnd : nullptr;
}

std::string artifact_path(const std::string &name)
{
    std::string dir = BRELOX_ARTIFACT_DIR;
    mkdir(dir.c_str(), 0755);
    return dir + "/" + name;
}

} // namespace brelox::testing

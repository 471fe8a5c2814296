#include "port_server.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace brelox::testing {

PortServer::PortServer(const std::vector<std::string> &ports)
{
    char tmpl[] = "/tmp/brelox-ports-XXXXXX";
    if (mkdtemp(tmpl) == nullptr)
        return;
    dir_ = tmpl;
    int out[2];
    if (pipe(out) != 0)
        return;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<std::string> args = {BRELOX_PORTS_TOOL, "--dir", dir_};
        args.insert(args.end(), ports.begin(), ports.end());
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    char line[16] = "";
    FILE *f = fdopen(out[0], "r");
    if (f != nullptr && std::fgets(line, sizeof line, f) != nullptr && std::string(line) == "ready\n")
        pid_ = pid;
    if (f != nullptr)
        std::fclose(f);
}

PortServer::~PortServer()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
}

void PortServer::use() const { setenv("BRELOX_PORTS", dir_.c_str(), 1); }

} // namespace brelox::testing

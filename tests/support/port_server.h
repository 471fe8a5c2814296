// Runs tools/brelox-ports for a test: pseudo-terminal ports in a fresh
// ports directory, removed again when the server object goes.
#pragma once

#include <string>
#include <vector>

namespace brelox::testing {

class PortServer {
public:
    explicit PortServer(const std::vector<std::string> &ports); // "5:loopback", ...
    ~PortServer();
    PortServer(const PortServer &) = delete;
    PortServer &operator=(const PortServer &) = delete;

    const std::string &dir() const { return dir_; }
    bool ready() const { return pid_ > 0; }
    // Points BRELOX_PORTS at this server's directory.
    void use() const;

private:
    std::string dir_;
    int pid_ = -1;
};

} // namespace brelox::testing

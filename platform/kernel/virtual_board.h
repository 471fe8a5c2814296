// The virtual board of the tests: ports wired in known ways, on the
// virtual clock.  A byte takes its wire time (10 bits at the port's baud
// rate) to go out and, where it is wired back, to come in.
#pragma once

#include "serial_device.h"
#include "virtual_clock.h"

#include <map>
#include <string>
#include <vector>

namespace brelox {

enum class Wiring {
    Absent,     // no such port
    Busy,       // held by another program
    LoopBack,   // transmit wired to receive
    Open,       // nothing connected
    ExtraBytes, // the echo and "+++" in one burst, once all of it has crossed the wire
    ShortEcho,  // the echo without its last byte
    LateEcho,   // the echo 300 ms late, after the echo wait
    Flood,      // 1500 bytes pour in as soon as the port is open
    Vanishing,  // the device goes away right after the write
};

// What happened on a port, on the virtual clock, for the tests to read.
struct PortLog {
    int opens = 0;
    bool open_now = false;
    DCB settings{};
    bool dtr = false;
    bool rts = false;
    DWORD queue_in = 0, queue_out = 0;
    std::string written;
    uint64_t open_us = 0, dtr_us = 0, write_us = 0, last_status_us = 0, read_us = 0, close_us = 0;
    DWORD read_count = 0;
};

class VirtualBoard : public SerialBoard {
public:
    explicit VirtualBoard(VirtualClock &clock) : clock_(clock) {}

    void wire(int port, Wiring wiring) { wiring_[port] = wiring; }
    const PortLog &log(int port) { return logs_[port]; }

    std::unique_ptr<SerialDevice> open(int port, DWORD *error) override;

private:
    friend class VirtualPort;
    VirtualClock &clock_;
    std::map<int, Wiring> wiring_;
    std::map<int, PortLog> logs_;
};

} // namespace brelox

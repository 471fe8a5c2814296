// A serial port behind a handle.  Two kinds: termios on a file descriptor
// (real ports and pseudo-terminals) and the virtual board of the tests.
// Each operation follows its Win32 counterpart: FALSE plus SetLastError on
// failure.
#pragma once

#include <windows.h>

#include <memory>

namespace brelox {

class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    virtual BOOL setup_queues(DWORD in, DWORD out) = 0;
    virtual BOOL get_state(DCB *dcb) = 0;
    virtual BOOL set_state(const DCB *dcb) = 0;
    virtual BOOL escape(DWORD function) = 0;
    virtual BOOL write(const void *data, DWORD count, DWORD *written) = 0;
    virtual BOOL read(void *data, DWORD count, DWORD *got) = 0;
    virtual BOOL clear_error(DWORD *errors, COMSTAT *status) = 0;
};

// Opens COM`port` (1 to 256); on failure returns nullptr with the Win32
// error in `error`.
class SerialBoard {
public:
    virtual ~SerialBoard() = default;
    virtual std::unique_ptr<SerialDevice> open(int port, DWORD *error) = 0;
};

// nullptr: the ports directory of BRELOX_PORTS, else /dev/ttyS(n-1).
void set_serial_board(SerialBoard *board);
SerialBoard &serial_board();

// The termios kind, opened on a path (used by the default board).
std::unique_ptr<SerialDevice> open_termios_port(const char *path, DWORD *error);

} // namespace brelox

// Serial ports over termios: real ports (/dev/ttyS*, /dev/ttyUSB*, ...) and
// pseudo-terminals, found through the ports directory.
//
// Opening: never becomes the controlling terminal, never waits for
// carrier; anything that is not a terminal device is refused (a link to a
// regular file or /dev/null is never written to); exclusive like a COM
// port, through TIOCEXCL and an advisory flock (root ignores TIOCEXCL);
// the line is raw, so no byte is converted either way.
// Modem lines: a device that refuses them (a pseudo-terminal) still works.
// Vanished devices (hang-up, EIO): every call fails instead of blocking.
#include "serial_device.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace brelox {

namespace {

struct BaudRate {
    DWORD rate;
    speed_t speed;
};

const BaudRate kRates[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool speed_for(DWORD rate, speed_t *speed)
{
    for (const BaudRate &r : kRates)
        if (r.rate == rate) {
            *speed = r.speed;
            return true;
        }
    return false;
}

DWORD rate_for(speed_t speed)
{
    for (const BaudRate &r : kRates)
        if (r.speed == speed)
            return r.rate;
    return 9600;
}

bool vanished_errno(int e) { return e == EIO || e == ENXIO || e == ENODEV || e == EBADF; }

bool refuses_modem_lines(int e) { return e == ENOTTY || e == EINVAL; }

DCB default_dcb()
{
    DCB d{};
    d.DCBlength = sizeof(DCB);
    d.BaudRate = 9600;
    d.fBinary = 1;
    d.fDtrControl = DTR_CONTROL_ENABLE;
    d.fRtsControl = RTS_CONTROL_ENABLE;
    d.fTXContinueOnXoff = 1;
    d.XonLim = 2048;
    d.XoffLim = 512;
    d.ByteSize = 8;
    d.XonChar = 0x11;
    d.XoffChar = 0x13;
    return d;
}

class TermiosPort : public SerialDevice {
public:
    explicit TermiosPort(int fd) : fd_(fd), shadow_(default_dcb()) { read_icount(&icount_); }

    ~TermiosPort() override
    {
        ioctl(fd_, TIOCNXCL); // exclusivity belongs to this open only
        close(fd_);
    }

    BOOL setup_queues(DWORD in, DWORD out) override
    {
        if (in == 0 || out == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        return TRUE; // the kernel's queues have their own size
    }

    BOOL get_state(DCB *dcb) override
    {
        termios t{};
        if (tcgetattr(fd_, &t) != 0)
            return fail();
        DCB d = shadow_;
        d.DCBlength = sizeof(DCB);
        d.BaudRate = rate_for(cfgetospeed(&t));
        switch (t.c_cflag & CSIZE) {
        case CS5: d.ByteSize = 5; break;
        case CS6: d.ByteSize = 6; break;
        case CS7: d.ByteSize = 7; break;
        default: d.ByteSize = 8; break;
        }
        if ((t.c_cflag & PARENB) == 0)
            d.Parity = NOPARITY;
        else if ((t.c_cflag & CMSPAR) != 0)
            d.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
        else
            d.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
        d.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
        d.fParity = (t.c_iflag & INPCK) ? 1 : 0;
        d.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
        d.fOutX = (t.c_iflag & IXON) ? 1 : 0;
        d.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
        d.XonChar = (char)t.c_cc[VSTART];
        d.XoffChar = (char)t.c_cc[VSTOP];
        int lines = 0;
        if (ioctl(fd_, TIOCMGET, &lines) == 0) {
            if (d.fDtrControl != DTR_CONTROL_HANDSHAKE)
                d.fDtrControl = (lines & TIOCM_DTR) ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
            if (t.c_cflag & CRTSCTS)
                d.fRtsControl = RTS_CONTROL_HANDSHAKE;
            else if (d.fRtsControl != RTS_CONTROL_TOGGLE)
                d.fRtsControl = (lines & TIOCM_RTS) ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
        }
        *dcb = d;
        return TRUE;
    }

    BOOL set_state(const DCB *dcb) override
    {
        speed_t speed;
        if (!speed_for(dcb->BaudRate, &speed) || dcb->ByteSize < 5 || dcb->ByteSize > 8 || dcb->Parity > SPACEPARITY ||
            dcb->StopBits > TWOSTOPBITS || (dcb->StopBits == ONE5STOPBITS && dcb->ByteSize != 5)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        termios t{};
        if (tcgetattr(fd_, &t) != 0)
            return fail();
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
        t.c_cflag = (t.c_cflag & ~(tcflag_t)CSIZE) | sizes[dcb->ByteSize - 5];
        t.c_cflag &= ~(tcflag_t)(PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
        if (dcb->Parity == ODDPARITY)
            t.c_cflag |= PARENB | PARODD;
        else if (dcb->Parity == EVENPARITY)
            t.c_cflag |= PARENB;
        else if (dcb->Parity == MARKPARITY)
            t.c_cflag |= PARENB | CMSPAR | PARODD;
        else if (dcb->Parity == SPACEPARITY)
            t.c_cflag |= PARENB | CMSPAR;
        if (dcb->StopBits != ONESTOPBIT)
            t.c_cflag |= CSTOPB;
        if (dcb->fOutxCtsFlow || dcb->fRtsControl == RTS_CONTROL_HANDSHAKE)
            t.c_cflag |= CRTSCTS;
        t.c_cflag |= CLOCAL | CREAD;
        t.c_iflag &= ~(tcflag_t)(IXON | IXOFF | IXANY | INPCK);
        if (dcb->fOutX)
            t.c_iflag |= IXON;
        if (dcb->fInX)
            t.c_iflag |= IXOFF;
        if (dcb->fParity && dcb->Parity != NOPARITY)
            t.c_iflag |= INPCK;
        t.c_cc[VSTART] = (cc_t)dcb->XonChar;
        t.c_cc[VSTOP] = (cc_t)dcb->XoffChar;
        if (tcsetattr(fd_, TCSANOW, &t) != 0)
            return fail();
        shadow_ = *dcb;
        set_line(TIOCM_DTR, dcb->fDtrControl != DTR_CONTROL_DISABLE);
        if (dcb->fRtsControl != RTS_CONTROL_HANDSHAKE)
            set_line(TIOCM_RTS, dcb->fRtsControl != RTS_CONTROL_DISABLE);
        return TRUE;
    }

    BOOL escape(DWORD function) override
    {
        int r = 0;
        switch (function) {
        case SETDTR: return set_line(TIOCM_DTR, true);
        case CLRDTR: return set_line(TIOCM_DTR, false);
        case SETRTS: return set_line(TIOCM_RTS, true);
        case CLRRTS: return set_line(TIOCM_RTS, false);
        case SETBREAK: r = ioctl(fd_, TIOCSBRK); break;
        case CLRBREAK: r = ioctl(fd_, TIOCCBRK); break;
        case SETXOFF: r = tcflow(fd_, TCOOFF); break;
        case SETXON: r = tcflow(fd_, TCOON); break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        return r == 0 ? TRUE : fail();
    }

    BOOL write(const void *data, DWORD count, DWORD *written) override
    {
        const char *p = static_cast<const char *>(data);
        DWORD done = 0;
        while (done < count) {
            ssize_t n = ::write(fd_, p + done, count - done);
            if (n > 0) {
                done += (DWORD)n;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno == EAGAIN && wait_for(POLLOUT))
                continue;
            *written = done;
            return fail();
        }
        *written = done;
        return TRUE;
    }

    // With zero time-outs a read returns once `count` bytes are in.
    BOOL read(void *data, DWORD count, DWORD *got) override
    {
        char *p = static_cast<char *>(data);
        DWORD done = 0;
        while (done < count) {
            ssize_t n = ::read(fd_, p + done, count - done);
            if (n > 0) {
                done += (DWORD)n;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno == EAGAIN && wait_for(POLLIN))
                continue;
            if (n == 0)
                errno = EIO; // end of file: the other side of the line is gone
            *got = done;
            return fail();
        }
        *got = done;
        return TRUE;
    }

    BOOL clear_error(DWORD *errors, COMSTAT *status) override
    {
        pollfd pfd{fd_, POLLIN, 0};
        if (poll(&pfd, 1, 0) == 1 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            errno = EIO;
            return fail();
        }
        int in = 0, out = 0;
        if (ioctl(fd_, FIONREAD, &in) != 0)
            return fail();
        if (ioctl(fd_, TIOCOUTQ, &out) != 0)
            out = 0;
        *status = COMSTAT{};
        status->cbInQue = (DWORD)(in > 0 ? in : 0);
        status->cbOutQue = (DWORD)(out > 0 ? out : 0);
        *errors = line_errors();
        return TRUE;
    }

private:
    int fd_;
    DCB shadow_;
    serial_icounter_struct icount_{};

    BOOL fail()
    {
        int e = errno;
        SetLastError(vanished_errno(e) ? ERROR_DEVICE_NOT_CONNECTED
                                       : (e == EACCES || e == EPERM ? ERROR_ACCESS_DENIED : ERROR_GEN_FAILURE));
        return FALSE;
    }

    BOOL set_line(int line, bool on)
    {
        if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0 || refuses_modem_lines(errno))
            return TRUE;
        return fail();
    }

    // Waits for the descriptor; false when the device hung up.
    bool wait_for(short events)
    {
        for (;;) {
            pollfd pfd{fd_, events, 0};
            int r = poll(&pfd, 1, 1000);
            if (r < 0 && errno == EINTR)
                continue;
            if (r < 0)
                return false;
            if (r == 0)
                continue;
            if (pfd.revents & events)
                return true;
            errno = EIO;
            return false;
        }
    }

    bool read_icount(serial_icounter_struct *c) { return ioctl(fd_, TIOCGICOUNT, c) == 0; }

    // The line errors since the last call, where the driver counts them.
    DWORD line_errors()
    {
        serial_icounter_struct now{};
        if (!read_icount(&now))
            return 0;
        DWORD e = 0;
        if (now.frame != icount_.frame)
            e |= CE_FRAME;
        if (now.overrun != icount_.overrun)
            e |= CE_OVERRUN;
        if (now.parity != icount_.parity)
            e |= CE_RXPARITY;
        if (now.brk != icount_.brk)
            e |= CE_BREAK;
        if (now.buf_overrun != icount_.buf_overrun)
            e |= CE_RXOVER;
        icount_ = now;
        return e;
    }
};

DWORD open_error(int e)
{
    switch (e) {
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
        return ERROR_ACCESS_DENIED;
    default:
        return ERROR_FILE_NOT_FOUND;
    }
}

void make_raw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_iflag &= ~(tcflag_t)(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &t);
}

class PortsDirectoryBoard : public SerialBoard {
public:
    std::unique_ptr<SerialDevice> open(int port, DWORD *error) override
    {
        const char *dir = std::getenv("BRELOX_PORTS");
        std::string path = (dir != nullptr && *dir != 0) ? std::string(dir) + "/com" + std::to_string(port)
                                                         : "/dev/ttyS" + std::to_string(port - 1);
        return open_termios_port(path.c_str(), error);
    }
};

PortsDirectoryBoard g_ports_directory;
SerialBoard *g_board = &g_ports_directory;

} // namespace

std::unique_ptr<SerialDevice> open_termios_port(const char *path, DWORD *error)
{
    struct stat st{};
    if (stat(path, &st) != 0) {
        *error = open_error(errno);
        return nullptr;
    }
    if (!S_ISCHR(st.st_mode)) {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = open_error(errno);
        return nullptr;
    }
    termios t{};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || tcgetattr(fd, &t) != 0) {
        close(fd);
        *error = ERROR_FILE_NOT_FOUND; // not a terminal device: no such port
        return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        int e = errno;
        close(fd);
        *error = open_error(e == EWOULDBLOCK ? EBUSY : e);
        return nullptr;
    }
    make_raw(fd);
    return std::make_unique<TermiosPort>(fd);
}

void set_serial_board(SerialBoard *board) { g_board = board != nullptr ? board : &g_ports_directory; }
SerialBoard &serial_board() { return *g_board; }

} // namespace brelox

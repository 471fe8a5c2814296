#include "virtual_board.h"

#include <algorithm>
#include <deque>

namespace brelox {

namespace {

constexpr uint64_t kMs = 1000;

struct Arrival {
    uint64_t at_us;
    uint8_t byte;
};

} // namespace

class VirtualPort : public SerialDevice {
public:
    VirtualPort(VirtualBoard &board, int port, Wiring wiring) : board_(board), port_(port), wiring_(wiring)
    {
        settings_.DCBlength = sizeof(DCB);
        settings_.BaudRate = 9600;
        settings_.ByteSize = 8;
        settings_.fBinary = 1;
        settings_.XonChar = 0x11;
        settings_.XoffChar = 0x13;
        PortLog &l = log();
        l.opens++;
        l.open_now = true;
        l.open_us = now();
        l.written.clear();
        if (wiring_ == Wiring::Flood)
            for (int i = 0; i < 1500; i++)
                incoming_.push_back(Arrival{now() + kMs, (uint8_t)('a' + i % 26)});
    }

    ~VirtualPort() override
    {
        log().open_now = false;
        log().close_us = now();
    }

    BOOL setup_queues(DWORD in, DWORD out) override
    {
        if (!alive())
            return FALSE;
        capacity_ = in;
        log().queue_in = in;
        log().queue_out = out;
        return TRUE;
    }

    BOOL get_state(DCB *dcb) override
    {
        if (!alive())
            return FALSE;
        *dcb = settings_;
        return TRUE;
    }

    BOOL set_state(const DCB *dcb) override
    {
        if (!alive())
            return FALSE;
        if (dcb->BaudRate == 0 || dcb->ByteSize < 5 || dcb->ByteSize > 8) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        settings_ = *dcb;
        log().settings = *dcb;
        log().dtr = dcb->fDtrControl != DTR_CONTROL_DISABLE;
        log().rts = dcb->fRtsControl != RTS_CONTROL_DISABLE;
        return TRUE;
    }

    BOOL escape(DWORD function) override
    {
        if (!alive())
            return FALSE;
        if (function == SETDTR || function == CLRDTR) {
            log().dtr = function == SETDTR;
            log().dtr_us = now();
        } else if (function == SETRTS || function == CLRRTS) {
            log().rts = function == SETRTS;
        }
        return TRUE;
    }

    BOOL write(const void *data, DWORD count, DWORD *written) override
    {
        if (!alive())
            return FALSE;
        const uint8_t *bytes = static_cast<const uint8_t *>(data);
        uint64_t start = now();
        log().write_us = start;
        log().written.append(reinterpret_cast<const char *>(bytes), count);
        uint64_t byte_us = 10u * 1000000u / std::max<DWORD>(settings_.BaudRate, 1);
        std::vector<uint8_t> echo(bytes, bytes + count);
        uint64_t delay = 0;
        switch (wiring_) {
        case Wiring::Open:
        case Wiring::Absent:
        case Wiring::Busy:
        case Wiring::Flood:
            echo.clear();
            break;
        case Wiring::ExtraBytes:
            echo.insert(echo.end(), {'+', '+', '+'});
            break;
        case Wiring::ShortEcho:
            if (!echo.empty())
                echo.pop_back();
            break;
        case Wiring::LateEcho:
            delay = 300 * kMs;
            break;
        case Wiring::Vanishing:
            echo.clear();
            vanished_ = true;
            break;
        case Wiring::LoopBack:
            break;
        }
        for (size_t i = 0; i < echo.size(); i++) {
            // A burst arrives whole: the queue jumps past the count sent.
            uint64_t at = wiring_ == Wiring::ExtraBytes ? echo.size() * byte_us : (i + 1) * byte_us;
            incoming_.push_back(Arrival{start + delay + at, echo[i]});
        }
        *written = count;
        return TRUE;
    }

    BOOL read(void *data, DWORD count, DWORD *got) override
    {
        if (!alive())
            return FALSE;
        take_arrivals();
        DWORD n = std::min<DWORD>(count, (DWORD)queue_.size());
        uint8_t *out = static_cast<uint8_t *>(data);
        for (DWORD i = 0; i < n; i++) {
            out[i] = queue_.front();
            queue_.pop_front();
        }
        log().read_us = now();
        log().read_count = n;
        *got = n;
        return TRUE;
    }

    BOOL clear_error(DWORD *errors, COMSTAT *status) override
    {
        log().last_status_us = now();
        if (!alive())
            return FALSE;
        take_arrivals();
        *status = COMSTAT{};
        status->cbInQue = (DWORD)queue_.size();
        *errors = overrun_ ? CE_RXOVER : 0;
        overrun_ = false;
        return TRUE;
    }

private:
    VirtualBoard &board_;
    int port_;
    Wiring wiring_;
    DCB settings_{};
    DWORD capacity_ = 4096;
    bool vanished_ = false;
    bool overrun_ = false;
    std::deque<Arrival> incoming_;
    std::deque<uint8_t> queue_;

    PortLog &log() { return board_.logs_[port_]; }
    uint64_t now() const { return board_.clock_.peek_us(); }

    bool alive()
    {
        if (!vanished_)
            return true;
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return false;
    }

    // Bytes whose wire time is over enter the receive queue, or are lost
    // with an overrun once it is full.
    void take_arrivals()
    {
        uint64_t t = now();
        while (!incoming_.empty() && incoming_.front().at_us <= t) {
            if (queue_.size() < capacity_)
                queue_.push_back(incoming_.front().byte);
            else
                overrun_ = true;
            incoming_.pop_front();
        }
    }
};

std::unique_ptr<SerialDevice> VirtualBoard::open(int port, DWORD *error)
{
    auto it = wiring_.find(port);
    Wiring w = it != wiring_.end() ? it->second : Wiring::Absent;
    if (w == Wiring::Absent) {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    if (w == Wiring::Busy || logs_[port].open_now) {
        *error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    return std::make_unique<VirtualPort>(*this, port, w);
}

} // namespace brelox

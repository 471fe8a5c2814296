// The loop-back exchange on a pseudo-terminal loop-back port, through the
// real layer and the program's own LoopTestRun, timed with Google
// Benchmark.  A board that wraps the real termios ports notes the moment
// of each step on CLOCK_MONOTONIC: the settle wait (DTR raised to the
// write), the echo wait (the write to the last look at the queue, which
// ends on an exact match), and the whole exchange.  The same runs with the
// tick counter quantised to 15.6 ms show what the classic Windows counter
// would make of the waits.
#include "stats.h"

#include "kernel/clock.h"
#include "kernel/serial_device.h"

extern "C" {
#include "../looptest/looptest.h"
#include "../tester/tester.h"
}

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

namespace {

using namespace brelox;

uint64_t mono_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint64_t)ts.tv_sec * 1000000000u + (uint64_t)ts.tv_nsec;
}

struct Stamps {
    uint64_t dtr = 0, write_start = 0, write_end = 0, last_status = 0, close = 0;
};
Stamps g_stamps;

class TimedPort : public SerialDevice {
public:
    explicit TimedPort(std::unique_ptr<SerialDevice> real) : real_(std::move(real)) {}
    ~TimedPort() override
    {
        real_.reset();
        g_stamps.close = mono_ns();
    }
    BOOL setup_queues(DWORD in, DWORD out) override { return real_->setup_queues(in, out); }
    BOOL get_state(DCB *d) override { return real_->get_state(d); }
    BOOL set_state(const DCB *d) override { return real_->set_state(d); }
    BOOL escape(DWORD f) override
    {
        BOOL ok = real_->escape(f);
        g_stamps.dtr = mono_ns();
        return ok;
    }
    BOOL write(const void *data, DWORD n, DWORD *w) override
    {
        g_stamps.write_start = mono_ns();
        BOOL ok = real_->write(data, n, w);
        g_stamps.write_end = mono_ns();
        return ok;
    }
    BOOL read(void *data, DWORD n, DWORD *got) override { return real_->read(data, n, got); }
    BOOL clear_error(DWORD *e, COMSTAT *s) override
    {
        BOOL ok = real_->clear_error(e, s);
        g_stamps.last_status = mono_ns();
        return ok;
    }

private:
    std::unique_ptr<SerialDevice> real_;
};

class TimedBoard : public SerialBoard {
public:
    std::unique_ptr<SerialDevice> open(int port, DWORD *error) override
    {
        std::string path = std::string(std::getenv("BRELOX_PORTS")) + "/com" + std::to_string(port);
        auto real = open_termios_port(path.c_str(), error);
        return real ? std::make_unique<TimedPort>(std::move(real)) : nullptr;
    }
};

// GetTickCount as the classic counter gives it: in steps of 15.625 ms.
class QuantisedClock : public Clock {
public:
    uint64_t now_us() override { return mono_ns() / 1000 / 15625 * 15625; }
};

TimedBoard g_board;
QuantisedClock g_quantised;
HWND g_window;

LRESULT CALLBACK quiet_proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void make_window()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = quiet_proc;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "bench";
    RegisterClassA(&wc);
    g_window = CreateWindowExA(0, "bench", "bench", WS_SYSMENU, 0, 0, 590, 250, nullptr, nullptr, nullptr, nullptr);
}

struct Figures {
    std::vector<double> settle, echo, whole;
};
std::map<std::string, Figures> g_figures;

void BM_Exchange(benchmark::State &state)
{
    int bytes = (int)state.range(0);
    bool quantised = state.range(1) != 0;
    set_clock(quantised ? &g_quantised : nullptr);
    for (int i = 0; i < bytes; i++)
        tester.sendLine[i] = (BYTE)('A' + i % 26);
    tester.sendLength = bytes;
    wsprintfA(tester.portName, "COM%d", 5);
    Figures &f = g_figures[std::to_string(bytes) + (quantised ? " q" : "")];
    for (auto _ : state) {
        uint64_t start = mono_ns();
        LoopTestRun(g_window);
        uint64_t end = mono_ns();
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) // the posted Up
            ;
        state.SetIterationTime((double)(end - start) / 1e9);
        f.settle.push_back((double)(g_stamps.write_start - g_stamps.dtr) / 1000.0);
        f.echo.push_back((double)(g_stamps.last_status - g_stamps.write_end) / 1000.0);
        f.whole.push_back((double)(end - start) / 1000.0);
    }
}

BENCHMARK(BM_Exchange)
    ->ArgsProduct({{1, 3, 41}, {0, 1}})
    ->Iterations(1)
    ->Repetitions(9)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void table()
{
    bench::header();
    for (const char *q : {"", " q"}) {
        for (int bytes : {1, 3, 41}) {
            Figures &f = g_figures[std::to_string(bytes) + q];
            std::string tag = std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") +
                              (*q ? ", 15.6 ms tick" : "");
            std::vector<double> settle_over, echo_over, whole_over;
            for (double v : f.settle)
                settle_over.push_back(v - 200000.0);
            for (double v : f.echo)
                echo_over.push_back(v);
            for (double v : f.whole)
                whole_over.push_back(v - 200000.0);
            bench::row("settle wait, " + tag, f.settle, "us", 0, "asked 200 ms");
            bench::row("settle overhead, " + tag, settle_over, "us", 0, "beyond 200 ms");
            bench::row("write to exact-match end of echo wait, " + tag, f.echo, "us", 0,
                       "wire time 0 on a pseudo-terminal (" + bench::fixed(bytes * 10 / 9.6, 1) +
                           " ms at 9600 baud on a real line)");
            bench::row("whole exchange overhead, " + tag, whole_over, "us", 0, "beyond the 200 ms it needs");
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (std::getenv("BRELOX_PORTS") == nullptr) {
        std::fprintf(stderr, "exchange_bench: set BRELOX_PORTS to a directory with a loop-back com5\n");
        return 2;
    }
    set_serial_board(&g_board);
    make_window();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n");
    table();
    return 0;
}

// Whole-process figures of the benchmarks, with a runner of our own:
//
//   runner startup-x11 RUNS BRELOX            exec to first frame, first map, peak memory
//   runner startup-app RUNS NAME CMD...       exec to first mapped window, peak memory
//   runner keys COUNT BRELOX                  key event to echoed character on screen
//   runner idle SECONDS BRELOX                CPU time and wake-ups while idle
//   runner stamp FILE CMD...                  write the time, then exec CMD (for tmux)
//
// Times are CLOCK_MONOTONIC, the clock the program's own present trace
// (BRELOX_TRACE_PRESENT) uses.  Peak memory is the child's maximum
// resident set from wait4.
#include "stats.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

uint64_t mono_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint64_t)ts.tv_sec * 1000000000u + (uint64_t)ts.tv_nsec;
}

struct Child {
    pid_t pid = -1;
    uint64_t exec_ns = 0;
};

// Forks and execs `argv`; the time is taken right before the exec.
Child spawn(const std::vector<std::string> &args, const std::vector<std::string> &env = {})
{
    int pipefd[2];
    if (pipe(pipefd) != 0)
        std::exit(1);
    Child c;
    c.pid = fork();
    if (c.pid == 0) {
        close(pipefd[0]);
        for (const std::string &e : env)
            putenv(const_cast<char *>(e.c_str()));
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        uint64_t t = mono_ns();
        if (write(pipefd[1], &t, sizeof t) != sizeof t)
            _exit(126);
        close(pipefd[1]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipefd[1]);
    if (read(pipefd[0], &c.exec_ns, sizeof c.exec_ns) != sizeof c.exec_ns)
        c.exec_ns = mono_ns();
    close(pipefd[0]);
    return c;
}

// Peak resident memory of a child that has ended, in MB.
double reap(pid_t pid)
{
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    return (double)ru.ru_maxrss / 1024.0;
}

// Forgets the events of earlier runs.
void discard_events(Display *d) { XSync(d, True); }

// Waits for the next top-level window to be mapped; its time.
uint64_t wait_for_map(Display *d, double timeout_s)
{
    uint64_t deadline = mono_ns() + (uint64_t)(timeout_s * 1e9);
    while (mono_ns() < deadline) {
        while (XPending(d) > 0) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type == MapNotify && !ev.xmap.override_redirect)
                return mono_ns();
        }
        pollfd pfd{ConnectionNumber(d), POLLIN, 0};
        poll(&pfd, 1, 5);
    }
    return 0;
}

Display *watch_root()
{
    Display *d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "runner: no X display\n");
        std::exit(1);
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    return d;
}

::Window find_window(Display *d, const char *title, double timeout_s)
{
    uint64_t deadline = mono_ns() + (uint64_t)(timeout_s * 1e9);
    while (mono_ns() < deadline) {
        ::Window root, parent, *children = nullptr;
        unsigned n = 0;
        XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
        for (unsigned i = 0; i < n; i++) {
            char *name = nullptr;
            if (XFetchName(d, children[i], &name) && name != nullptr) {
                bool same = std::strcmp(name, title) == 0;
                XFree(name);
                if (same) {
                    ::Window w = children[i];
                    XFree(children);
                    return w;
                }
            }
        }
        if (children != nullptr)
            XFree(children);
        usleep(2000);
    }
    return 0;
}

void send_key(Display *d, ::Window w, KeySym sym, unsigned state = 0)
{
    XEvent ev{};
    ev.xkey.type = KeyPress;
    ev.xkey.display = d;
    ev.xkey.window = w;
    ev.xkey.root = DefaultRootWindow(d);
    ev.xkey.subwindow = 0;
    ev.xkey.time = CurrentTime;
    ev.xkey.same_screen = True;
    ev.xkey.state = state;
    ev.xkey.keycode = XKeysymToKeycode(d, sym);
    XSendEvent(d, w, True, KeyPressMask, &ev);
    ev.xkey.type = KeyRelease;
    XSendEvent(d, w, True, KeyReleaseMask, &ev);
    XFlush(d);
}

// The present trace as a FIFO: one line per picture put on the screen.
struct Trace {
    std::string path;
    int fd = -1;
    std::string pending;

    explicit Trace(const std::string &dir)
    {
        path = dir + "/present.fifo";
        unlink(path.c_str());
        mkfifo(path.c_str(), 0600);
        fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    }
    ~Trace()
    {
        if (fd >= 0)
            close(fd);
        unlink(path.c_str());
    }
    // The next presented time, or 0 after the time-out.
    uint64_t next(double timeout_s)
    {
        uint64_t deadline = mono_ns() + (uint64_t)(timeout_s * 1e9);
        for (;;) {
            size_t nl = pending.find('\n');
            if (nl != std::string::npos) {
                uint64_t v = std::strtoull(pending.substr(0, nl).c_str(), nullptr, 10);
                pending.erase(0, nl + 1);
                return v;
            }
            if (mono_ns() > deadline)
                return 0;
            pollfd pfd{fd, POLLIN, 0};
            poll(&pfd, 1, 5);
            char buf[256];
            ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0)
                pending.append(buf, (size_t)n);
        }
    }
    void drain()
    {
        char buf[256];
        while (read(fd, buf, sizeof buf) > 0)
            ;
        pending.clear();
    }
};

std::string work_dir()
{
    char tmpl[] = "/tmp/brelox-bench-XXXXXX";
    return mkdtemp(tmpl);
}

int startup_x11(int runs, const char *brelox)
{
    std::string dir = work_dir();
    Display *d = watch_root();
    std::vector<double> frame_ms, map_ms, rss;
    for (int i = 0; i < runs; i++) {
        Trace trace(dir);
        discard_events(d);
        Child c = spawn({brelox}, {"BRELOX_DRIVER=x11", "BRELOX_SCALE=1", "BRELOX_TRACE_PRESENT=" + trace.path});
        uint64_t mapped = wait_for_map(d, 10);
        uint64_t frame = trace.next(10);
        ::Window w = find_window(d, "Vostrelan Test", 5);
        if (mapped)
            map_ms.push_back((double)(mapped - c.exec_ns) / 1e6);
        if (frame)
            frame_ms.push_back((double)(frame - c.exec_ns) / 1e6);
        if (w)
            send_key(d, w, XK_Escape);
        rss.push_back(reap(c.pid));
    }
    bench::row("brelox (x11): exec to first complete frame", frame_ms, "ms", 1);
    bench::row("brelox (x11): exec to first mapped window", map_ms, "ms", 1);
    bench::row("brelox (x11): peak resident memory", rss, "MB", 1);
    return 0;
}

int startup_app(int runs, const char *name, char **cmd, int ncmd)
{
    Display *d = watch_root();
    std::vector<double> map_ms, rss;
    std::vector<std::string> args(cmd, cmd + ncmd);
    for (int i = 0; i < runs; i++) {
        discard_events(d);
        Child c = spawn(args);
        uint64_t mapped = wait_for_map(d, 20);
        if (mapped)
            map_ms.push_back((double)(mapped - c.exec_ns) / 1e6);
        usleep(300000); // let it finish drawing before it is asked to go
        kill(c.pid, SIGTERM);
        rss.push_back(reap(c.pid));
        usleep(200000); // its windows are gone before the next run starts
    }
    bench::row(std::string(name) + ": exec to first mapped window", map_ms, "ms", 1);
    bench::row(std::string(name) + ": peak resident memory", rss, "MB", 1);
    return 0;
}

int keys(int count, const char *brelox)
{
    std::string dir = work_dir();
    Display *d = watch_root();
    Trace trace(dir);
    Child c = spawn({brelox}, {"BRELOX_DRIVER=x11", "BRELOX_SCALE=1", "BRELOX_TRACE_PRESENT=" + trace.path});
    ::Window w = find_window(d, "Vostrelan Test", 10);
    trace.next(10);
    usleep(200000);
    send_key(d, w, XK_Down);
    usleep(100000);
    std::vector<double> us;
    for (int i = 0; i < count; i++) {
        trace.drain();
        uint64_t t0 = mono_ns();
        send_key(d, w, XK_a + (KeySym)(i % 26));
        uint64_t t1 = trace.next(2);
        if (t1 > t0)
            us.push_back((double)(t1 - t0) / 1000.0);
    }
    send_key(d, w, XK_Escape);
    reap(c.pid);
    bench::row("brelox (x11): key event to echoed character on screen", us, "us", 0,
               std::to_string(count) + " keys, synthetic events through the X server");
    return 0;
}

struct ProcSample {
    double cpu_ms = 0;
    long switches = 0;
};

ProcSample sample(pid_t pid)
{
    ProcSample s;
    // Time on the CPU in nanoseconds, finer than the clock ticks of stat.
    std::ifstream sched("/proc/" + std::to_string(pid) + "/schedstat");
    double run_ns = 0;
    if (sched >> run_ns)
        s.cpu_ms = run_ns / 1e6;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
            s.switches += std::atol(line.substr(line.find(':') + 1).c_str());
    return s;
}

int idle(int seconds, const char *brelox)
{
    Display *d = watch_root();
    Child c = spawn({brelox}, {"BRELOX_DRIVER=x11", "BRELOX_SCALE=1"});
    ::Window w = find_window(d, "Vostrelan Test", 10);
    usleep(500000);
    std::vector<double> cpu, wakeups;
    for (int i = 0; i < 3; i++) {
        ProcSample a = sample(c.pid);
        usleep((useconds_t)seconds * 1000000 / 3);
        ProcSample b = sample(c.pid);
        double span = (double)seconds / 3;
        cpu.push_back((b.cpu_ms - a.cpu_ms) / span);
        wakeups.push_back((double)(b.switches - a.switches) / span);
    }
    send_key(d, w, XK_Escape);
    reap(c.pid);
    bench::row("brelox (x11) idle, caret blinking: CPU time", cpu, "ms/s", 3,
               std::to_string(seconds) + " s in three parts");
    bench::row("brelox (x11) idle, caret blinking: wake-ups", wakeups, "per s", 2,
               "context switches; the caret blinks every 530 ms");
    return 0;
}

int stamp(const char *file, char **cmd)
{
    std::ofstream(file) << mono_ns() << "\n";
    execvp(cmd[0], cmd);
    return 127;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "startup-x11") == 0)
        return startup_x11(std::atoi(argv[2]), argv[3]);
    if (argc >= 5 && std::strcmp(argv[1], "startup-app") == 0)
        return startup_app(std::atoi(argv[2]), argv[3], argv + 4, argc - 4);
    if (argc >= 4 && std::strcmp(argv[1], "keys") == 0)
        return keys(std::atoi(argv[2]), argv[3]);
    if (argc >= 4 && std::strcmp(argv[1], "idle") == 0)
        return idle(std::atoi(argv[2]), argv[3]);
    if (argc >= 4 && std::strcmp(argv[1], "stamp") == 0)
        return stamp(argv[2], argv + 3);
    std::fprintf(stderr, "usage: see the top of bench/runner.cpp\n");
    return 2;
}

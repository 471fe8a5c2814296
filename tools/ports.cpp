// brelox-ports: virtual serial ports on pseudo-terminals, for the demo and
// the tests.  For each port it creates a pseudo-terminal, links its device
// as comN in a ports directory, and answers on it as the port is wired:
//
//   loopback  every byte comes back at once (a loop-back plug)
//   open      nothing connected: nothing comes back
//   twice     every byte comes back twice
//   late      the echo comes back 300 ms late
//   garble    every byte comes back with its lowest bit flipped
//   vanish    the port disappears as soon as something is sent to it
//   allbytes  answers anything with terminal escape sequences and then
//             every byte value 0 to 255 (for output-safety tests)
//
//   brelox-ports --dir DIR N:WIRING...
//
// It prints "ready" once every link exists, and on SIGTERM, SIGINT or
// SIGHUP removes its links and ends.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

enum class Wiring { LoopBack, Open, Twice, Late, Garble, Vanish, AllBytes };

struct Port {
    int number;
    Wiring wiring;
    int master = -1;
    int slave_keep = -1; // held so the master never sees a hang-up between opens
    std::string link;
    struct Pending {
        std::chrono::steady_clock::time_point due;
        std::string bytes;
    };
    std::deque<Pending> late;
};

volatile sig_atomic_t g_stop = 0;

void on_signal(int) { g_stop = 1; }

bool parse_wiring(const char *name, Wiring *w)
{
    static const struct {
        const char *name;
        Wiring wiring;
    } names[] = {{"loopback", Wiring::LoopBack}, {"open", Wiring::Open},     {"twice", Wiring::Twice},
                 {"late", Wiring::Late},         {"garble", Wiring::Garble}, {"vanish", Wiring::Vanish},
                 {"allbytes", Wiring::AllBytes}};
    for (const auto &n : names)
        if (std::strcmp(n.name, name) == 0) {
            *w = n.wiring;
            return true;
        }
    return false;
}

bool open_port(Port &p, const std::string &dir)
{
    p.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (p.master < 0 || grantpt(p.master) != 0 || unlockpt(p.master) != 0)
        return false;
    const char *slave = ptsname(p.master);
    if (slave == nullptr)
        return false;
    p.slave_keep = open(slave, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (p.slave_keep < 0)
        return false;
    termios t{};
    tcgetattr(p.slave_keep, &t);
    cfmakeraw(&t);
    tcsetattr(p.slave_keep, TCSANOW, &t);
    fcntl(p.master, F_SETFL, fcntl(p.master, F_GETFL) | O_NONBLOCK);
    p.link = dir + "/com" + std::to_string(p.number);
    unlink(p.link.c_str());
    return symlink(slave, p.link.c_str()) == 0;
}

void close_port(Port &p)
{
    if (!p.link.empty())
        unlink(p.link.c_str());
    if (p.master >= 0)
        close(p.master);
    if (p.slave_keep >= 0)
        close(p.slave_keep);
    p.master = p.slave_keep = -1;
    p.link.clear();
}

void write_all(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += (size_t)n;
        else if (n < 0 && errno == EAGAIN)
            usleep(1000);
        else
            return;
    }
}

void answer(Port &p, const std::string &in)
{
    std::string out;
    switch (p.wiring) {
    case Wiring::LoopBack: out = in; break;
    case Wiring::Open: return;
    case Wiring::Twice:
        for (char c : in)
            out += std::string(2, c);
        break;
    case Wiring::Garble:
        for (char c : in)
            out += (char)(c ^ 1);
        break;
    case Wiring::Late:
        p.late.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(300), in});
        return;
    case Wiring::Vanish:
        close_port(p);
        return;
    case Wiring::AllBytes:
        out = "\033[2J\033]0;PWNED\007\033[31m";
        for (int b = 0; b < 256; b++)
            out += (char)b;
        break;
    }
    write_all(p.master, out);
}

} // namespace

int main(int argc, char **argv)
{
    std::string dir;
    std::vector<Port> ports;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
            dir = argv[++i];
            continue;
        }
        Port p{};
        char wiring[32] = "";
        if (std::sscanf(argv[i], "%d:%31s", &p.number, wiring) != 2 || p.number < 1 || p.number > 256 ||
            !parse_wiring(wiring, &p.wiring)) {
            std::fprintf(stderr, "brelox-ports: bad port '%s' (want N:loopback|open|twice|late|garble|vanish|allbytes)\n",
                         argv[i]);
            return 2;
        }
        ports.push_back(p);
    }
    if (dir.empty() || ports.empty()) {
        std::fprintf(stderr, "usage: brelox-ports --dir DIR N:WIRING...\n");
        return 2;
    }
    mkdir(dir.c_str(), 0755);
    struct sigaction sa{};
    sa.sa_handler = on_signal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    for (Port &p : ports)
        if (!open_port(p, dir)) {
            std::fprintf(stderr, "brelox-ports: cannot make COM%d: %s\n", p.number, std::strerror(errno));
            for (Port &q : ports)
                close_port(q);
            return 1;
        }
    std::printf("ready\n");
    std::fflush(stdout);

    while (!g_stop) {
        std::vector<pollfd> fds;
        std::vector<Port *> owners;
        for (Port &p : ports)
            if (p.master >= 0) {
                fds.push_back(pollfd{p.master, POLLIN, 0});
                owners.push_back(&p);
            }
        poll(fds.data(), fds.size(), 20);
        for (size_t i = 0; i < fds.size(); i++) {
            if ((fds[i].revents & POLLIN) == 0)
                continue;
            char buf[4096];
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0)
                answer(*owners[i], std::string(buf, (size_t)n));
        }
        auto now = std::chrono::steady_clock::now();
        for (Port &p : ports)
            while (!p.late.empty() && p.late.front().due <= now && p.master >= 0) {
                write_all(p.master, p.late.front().bytes);
                p.late.pop_front();
            }
    }
    for (Port &p : ports)
        close_port(p);
    return 0;
}

// Terminal driver, on ncurses: the same tester in character cells, for SSH
// sessions and headless bench PCs.
//  [x] the windows' cell grids (column x/8, row y/15), the caret as the cursor
//  [x] a notice while the terminal is under 73 x 15; resizing repaints
//  [x] raw keys: arrows, Enter 13, Esc at once, every control code as a byte
//  [x] UTF-8 input to Windows-1252; output never passes a control code
//  [x] the message box framed over the centre; the bell
//  [x] Esc, SIGHUP and SIGTERM leave the terminal as it was
//  [ ] no mouse, no colours
#include "tty.h"
#include "../../user/input.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brelox::tty {

volatile std::sig_atomic_t g_stop_signal = 0;

State &state()
{
    static State s;
    return s;
}

namespace {

void on_stop_signal(int sig) { g_stop_signal = sig; }

bool probe() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO) && std::getenv("TERM") != nullptr; }

// Terminals that take the xterm title sequence.
bool takes_title()
{
    const char *term = std::getenv("TERM");
    if (term == nullptr)
        return false;
    for (const char *prefix : {"xterm", "tmux", "screen", "rxvt", "alacritty", "foot", "kitty", "vte", "gnome"})
        if (std::strncmp(term, prefix, std::strlen(prefix)) == 0)
            return true;
    return false;
}

bool open()
{
    std::setlocale(LC_ALL, "");
    State &s = state();
    s.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    if (initscr() == nullptr) {
        std::fprintf(stderr, "brelox: cannot start the terminal\n");
        return false;
    }
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
    struct sigaction sa{};
    sa.sa_handler = on_stop_signal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    s.open = true;
    return true;
}

void close()
{
    State &s = state();
    if (!s.open)
        return;
    endwin();
    s.open = false;
}

void create_window(Window *w)
{
    state().windows.push_back(w);
    state().dirty = true;
}

void destroy_window(Window *w)
{
    State &s = state();
    std::erase(s.windows, w);
    if (s.caret_window == w)
        s.caret_window = nullptr;
    s.dirty = true;
}

void show_window(Window *w, bool visible, bool activate)
{
    (void)w;
    (void)visible;
    (void)activate;
    state().dirty = true;
}

void set_title(Window *w)
{
    if (w->message_box || !takes_title())
        return;
    std::string seq = "\033]0;" + w->title + "\007";
    putp(seq.c_str());
    std::fflush(stdout);
}

void present(Window *, const RECT &) { state().dirty = true; }

void caret_changed(Window *w, const CaretView &caret)
{
    State &s = state();
    s.caret_window = caret.visible ? w : (s.caret_window == w ? nullptr : s.caret_window);
    s.caret = caret;
    s.dirty = true;
}

// SIGTERM or SIGHUP (the SSH session gone): close the windows, so the
// program ends through its own paths and the terminal is restored.
void stop_requested()
{
    State &s = state();
    if (++s.close_requests > 10) {
        close();
        std::_Exit(128 + g_stop_signal);
    }
    std::vector<Window *> windows = s.windows;
    for (Window *w : windows)
        if (w->message_box)
            input_close(w);
    for (Window *w : windows)
        if (!w->message_box)
            input_close(w);
}

void wait_events()
{
    State &s = state();
    if (g_stop_signal != 0) {
        stop_requested();
        return;
    }
    if (s.dirty)
        draw_screen();
    pollfd pfd{STDIN_FILENO, POLLIN, 0};
    int r = poll(&pfd, 1, 500);
    if (g_stop_signal != 0) {
        stop_requested();
        return;
    }
    if (r > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (pfd.revents & POLLIN) == 0) {
        g_stop_signal = SIGHUP; // the terminal went away
        return;
    }
    read_keys();
}

void beep_bell() { beep(); }

} // namespace

} // namespace brelox::tty

namespace brelox {

extern const Driver tty_driver;
const Driver tty_driver = {
    .name = "tty",
    .probe = tty::probe,
    .open = tty::open,
    .close = tty::close,
    .create_window = tty::create_window,
    .destroy_window = tty::destroy_window,
    .show_window = tty::show_window,
    .set_title = tty::set_title,
    .present = tty::present,
    .caret_changed = tty::caret_changed,
    .wait_events = tty::wait_events,
    .beep = tty::beep_bell,
};

} // namespace brelox

#include "recorder.h"

#include <map>
#include <sstream>

namespace brelox::testing {

std::string message_name(UINT m)
{
    static const std::map<UINT, const char *> names = {
        {WM_CREATE, "WM_CREATE"},         {WM_DESTROY, "WM_DESTROY"},       {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},             {WM_ACTIVATE, "WM_ACTIVATE"},     {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},   {WM_ENABLE, "WM_ENABLE"},         {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},           {WM_QUIT, "WM_QUIT"},             {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_NCCREATE, "WM_NCCREATE"},     {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"}, {WM_KEYDOWN, "WM_KEYDOWN"},       {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},             {WM_SYSCOMMAND, "WM_SYSCOMMAND"}, {WM_USER, "WM_USER"},
        {WM_USER + 1, "WM_USER+1"},       {WM_USER + 2, "WM_USER+2"},
    };
    auto it = names.find(m);
    if (it != names.end())
        return it->second;
    std::ostringstream s;
    s << "0x" << std::hex << m;
    return s.str();
}

static std::string describe(const std::vector<Received> &log)
{
    std::string s;
    for (const Received &r : log)
        s += "  " + message_name(r.message) + "(" + std::to_string(r.wParam) + ")\n";
    return s;
}

void Recorder::expect(const std::vector<Expected> &expected, const char *file, int line) const
{
    size_t i = 0;
    for (const Expected &e : expected) {
        bool same = i < log.size() && log[i].message == e.message &&
                    (!e.check_wparam || log[i].wParam == e.wParam);
        if (same) {
            i++;
            continue;
        }
        if (e.optional)
            continue;
        ADD_FAILURE_AT(file, line) << "expected " << message_name(e.message)
                                   << (e.check_wparam ? "(" + std::to_string(e.wParam) + ")" : "")
                                   << " at position " << i << "; the window received:\n"
                                   << describe(log);
        return;
    }
    if (i != log.size())
        ADD_FAILURE_AT(file, line) << "more messages than expected; the window received:\n" << describe(log);
}

static std::map<std::string, Recorder *> g_recorders;
static std::map<HWND, Recorder *> g_by_window;

static LRESULT CALLBACK recording_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Recorder *r = nullptr;
    auto it = g_by_window.find(hwnd);
    if (it != g_by_window.end())
        r = it->second;
    if (r == nullptr && message == WM_NCCREATE) {
        auto *cs = reinterpret_cast<CREATESTRUCTA *>(lParam);
        r = g_recorders[cs->lpszClass];
        g_by_window[hwnd] = r;
    }
    if (r != nullptr && r->recording)
        r->log.push_back(Received{message, wParam});
    if (r != nullptr && r->behaviour) {
        bool handled = false;
        LRESULT result = r->behaviour(hwnd, message, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void register_recorder_class(Recorder *recorder, const char *name)
{
    g_recorders[name] = recorder;
    WNDCLASSA wc{};
    wc.lpfnWndProc = recording_proc;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

} // namespace brelox::testing

// The Win32 subset's own model of windows, classes and surfaces, shared by
// platform/user, platform/gdi and the display drivers.  Start here to see
// what a window is on the Linux build: a record with a pixel surface of its
// client area (and a cell grid for character terminals), an update region,
// and the driver's per-window data.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace brelox {

// A set of rectangles; enough for update regions and paint clipping.
struct Region {
    std::vector<RECT> rects;

    bool empty() const { return rects.empty(); }
    void clear() { rects.clear(); }
    void add(const RECT &r);
    bool contains(int x, int y) const;
    bool intersects(const RECT &r) const;
    RECT bounds() const;
};

RECT intersect(const RECT &a, const RECT &b);
bool rect_empty(const RECT &r);

// What a character terminal shows of a window: one byte per cell, placed
// from pixel positions (column x/8, row y/15, rounded).
struct CellGrid {
    int cols = 0;
    int rows = 0;
    std::vector<uint8_t> cells;
    bool dirty = false;

    void resize(int c, int r);
    void put(int col, int row, uint8_t byte);
    uint8_t get(int col, int row) const;
};

constexpr int kCellPixelWidth = 8;
constexpr int kCellPixelHeight = 15;

struct Surface {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB
    CellGrid cells;
    Region dirty;                 // changed since the driver last presented

    void resize(int w, int h);
    uint32_t get(int x, int y) const { return pixels[(size_t)y * width + x]; }
    void set(int x, int y, uint32_t rgb) { pixels[(size_t)y * width + x] = rgb; }
};

struct WindowClass {
    std::string name;
    WNDCLASSA record{};
};

struct Window {
    HWND hwnd = nullptr;
    const WindowClass *cls = nullptr;
    WNDPROC proc = nullptr;
    std::string title;
    DWORD style = 0;
    DWORD ex_style = 0;
    int x = 0, y = 0, width = 0, height = 0; // outer rectangle on the screen
    int client_x = 0, client_y = 0;          // client origin on the screen
    HWND owner = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;

    bool visible = false;
    bool shown_before = false;
    bool enabled = true;
    bool minimized = false;
    bool destroyed = false;
    bool message_box = false;

    Region update;
    bool erase_pending = false;
    Surface surface;
    void *driver_data = nullptr;

    RECT client_rect() const { return RECT{0, 0, surface.width, surface.height}; }
};

Window *find_window(HWND hwnd);
std::vector<Window *> top_level_windows(); // in creation order, live ones
LRESULT send_message(Window *w, UINT message, WPARAM wParam, LPARAM lParam);

// The one caret of the thread, as the caret functions keep it.
struct CaretState {
    Window *owner = nullptr; // nullptr: no caret exists
    int x = 0, y = 0, width = 0, height = 0;
    int hide_count = 0; // shown only at 0; a new caret starts hidden (1)
    bool shown() const { return owner != nullptr && hide_count == 0; }
};
const CaretState &caret_state();

// Every message box shown, in order (the headless driver reads them back).
struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string title;
    UINT type;
};
const std::vector<MessageBoxRecord> &message_box_log();

// Colours of the stock brushes and of text.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
uint32_t brush_colour(HBRUSH brush);

} // namespace brelox

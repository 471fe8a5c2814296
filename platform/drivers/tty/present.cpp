// Drawing the windows' cell grids on the terminal: the main window from the
// top left corner, a message box framed over the centre with its title in
// the frame; a notice instead when the terminal is too small.
#include "tty.h"
#include "../../gdi/font.h"
#include "../trace.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <string>
#include <vector>

namespace brelox::tty {

namespace {

void put(int row, int col, wchar_t ch)
{
    if (row < 0 || col < 0 || row >= LINES || col >= COLS)
        return;
    wchar_t text[2] = {ch, 0};
    cchar_t cell;
    setcchar(&cell, text, A_NORMAL, 0, nullptr);
    mvadd_wch(row, col, &cell);
}

void put_text(int row, int col, const std::string &text)
{
    for (size_t i = 0; i < text.size(); i++)
        put(row, col + (int)i, (wchar_t)(unsigned char)text[i]);
}

// The rows of a grid that hold anything, and how wide they run.
std::vector<int> used_rows(const CellGrid &g, int *cols)
{
    std::vector<int> rows;
    *cols = 0;
    for (int r = 0; r < g.rows; r++) {
        bool any = false;
        for (int c = 0; c < g.cols; c++)
            if (g.get(c, r) != ' ') {
                any = true;
                *cols = std::max(*cols, c + 1);
            }
        if (any)
            rows.push_back(r);
    }
    return rows;
}

void draw_row(const CellGrid &g, int r, int top, int left, int cols)
{
    bool utf8 = state().utf8;
    for (int c = 0; c < cols; c++)
        put(top, left + c, display_character(g.get(c, r), utf8));
}

void draw_grid(const CellGrid &g, int top, int left, int rows, int cols)
{
    for (int r = 0; r < rows; r++)
        draw_row(g, r, top + r, left, cols);
}

// The box shows its rows of text with a blank line between them, framed,
// the title in the top of the frame.
void draw_box(Window *w)
{
    int cols = 0;
    std::vector<int> rows = used_rows(w->surface.cells, &cols);
    cols = std::max(cols + 2, (int)w->title.size() + 6);
    int height = (int)rows.size() * 2 + 1 + 2, width = cols + 2;
    int top = (LINES - height) / 2, left = (COLS - width) / 2;
    for (int r = 0; r < height; r++)
        for (int c = 0; c < width; c++)
            put(top + r, left + c, L' ');
    mvaddch(top, left, ACS_ULCORNER);
    mvaddch(top, left + width - 1, ACS_URCORNER);
    mvaddch(top + height - 1, left, ACS_LLCORNER);
    mvaddch(top + height - 1, left + width - 1, ACS_LRCORNER);
    for (int c = 1; c < width - 1; c++) {
        mvaddch(top, left + c, ACS_HLINE);
        mvaddch(top + height - 1, left + c, ACS_HLINE);
    }
    for (int r = 1; r < height - 1; r++) {
        mvaddch(top + r, left, ACS_VLINE);
        mvaddch(top + r, left + width - 1, ACS_VLINE);
    }
    put_text(top, left + 2, " " + w->title + " ");
    for (size_t i = 0; i < rows.size(); i++)
        draw_row(w->surface.cells, rows[i], top + 2 + 2 * (int)i, left + 1, cols);
}

void draw_notice()
{
    std::string line1 = "Brelox needs a terminal of at least " + std::to_string(kMinCols) + " x " +
                        std::to_string(kMinRows) + ";";
    std::string line2 = "this one is " + std::to_string(COLS) + " x " + std::to_string(LINES) + ".";
    int row = LINES / 2 - 1;
    put_text(std::max(row, 0), 0, line1.substr(0, (size_t)COLS));
    put_text(std::max(row + 1, 0), 0, line2.substr(0, (size_t)COLS));
}

// The caret underlines the text of a field: the cursor stands on the
// field's cell, in the row of that text.
void place_cursor()
{
    const State &s = state();
    if (s.caret_window == nullptr || !s.caret.visible || s.caret_window->message_box || !s.caret_window->visible) {
        curs_set(0);
        return;
    }
    for (Window *w : s.windows)
        if (w->message_box && w->visible) {
            curs_set(0);
            return;
        }
    int text_top = s.caret.y + s.caret.height - kCellPixelHeight;
    int col = (s.caret.x * 2 + kCellPixelWidth) / (2 * kCellPixelWidth);
    int row = (text_top * 2 + kCellPixelHeight) / (2 * kCellPixelHeight);
    move(row, col);
    curs_set(1);
}

} // namespace

void draw_screen()
{
    State &s = state();
    erase();
    if (COLS < kMinCols || LINES < kMinRows) {
        draw_notice();
        curs_set(0);
    } else {
        for (Window *w : s.windows) {
            if (!w->visible || w->minimized)
                continue;
            if (w->message_box)
                draw_box(w);
            else
                draw_grid(w->surface.cells, 0, 0, std::min(w->surface.cells.rows, LINES),
                          std::min(w->surface.cells.cols, COLS));
        }
        place_cursor();
    }
    refresh();
    s.dirty = false;
    trace_presented();
}

} // namespace brelox::tty

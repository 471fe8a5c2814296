// The headless driver: surfaces in memory and a scripted operator, for
// tests that run the real WinMain.  The script's steps run one at a time
// whenever the program waits for input; read-back helpers tell what a
// person would see.
#pragma once

#include "../../internal/layer.h"

#include <functional>
#include <string>

namespace brelox::headless {

class Script {
public:
    Script &key(UINT vk, int unicode = -1, unsigned modifiers = 0); // press and release
    Script &type(const std::string &bytes);  // each byte as the key a person would press
    Script &focus_away();
    Script &focus_back();
    Script &minimise();
    Script &restore();
    Script &cover(const RECT &client_area);   // another window over the main window
    Script &uncover();
    Script &answer_box();                     // Enter in the message box that is up
    Script &click_box(int x, int y);          // the left button at (x, y) of the box
    Script &close();                          // the close button of the main window
    Script &then(std::function<void()> check);

    struct Step {
        std::function<void()> run;
    };
    std::vector<Step> steps;

private:
    RECT covered_{0, 0, 0, 0};
};

// Installs the script the operator follows from the next wait on.
void set_script(Script script);
// True once the program waited with no steps left (the driver then closed
// its windows, so that no test hangs).
bool script_ran_out();

// Presses the keys for `bytes` at once, as if typed at this moment.
void type_now(const std::string &bytes);

// Read-back.
Window *main_window();           // the first window that is not a message box
std::string text_at(HWND hwnd, int x, int y, int count); // '\0' where no glyph matches
bool cell_shows(HWND hwnd, int x, int y, uint8_t byte);
bool blank(HWND hwnd, const RECT &area);
int beeps();
bool write_png(HWND hwnd, const std::string &path);
bool write_png_pixels(const std::string &path, int width, int height, const std::vector<uint32_t> &pixels);

} // namespace brelox::headless

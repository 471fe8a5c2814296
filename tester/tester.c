/*
 * The tester window procedure.  The operator works on two lines: the port
 * line, where "+", "-" and space choose the port, and the send line, where
 * the bytes to send are typed.  Enter on a filled send line runs the
 * loop-back exchange, which ends by posting Up to come back to the port line.
 */
#include <windows.h>

#include "tester.h"
#include "screen_layout.h"
#include "../looptest/looptest.h"

TesterState tester = { TESTER_LINE_PORT, 5, "COM5", { 0 }, 0 };

static int caret_row(void)
{
    return tester.currentLine == TESTER_LINE_PORT ? CARET_ROW_PORT : CARET_ROW_SEND;
}

static void on_set_focus(HWND hwnd)
{
    CreateCaret(hwnd, NULL, CARET_WIDTH, CARET_HEIGHT);
    SetCaretPos(FIELD_X, caret_row());
    ShowCaret(hwnd);
}

static void on_kill_focus(HWND hwnd)
{
    HideCaret(hwnd);
    DestroyCaret();
}

static void on_key_down(HWND hwnd, WPARAM key)
{
    int wasPortLine;

    switch (key) {
    case VK_DOWN:
        wasPortLine = tester.currentLine == TESTER_LINE_PORT;
        tester.currentLine = TESTER_LINE_SEND;
        SetCaretPos(FIELD_X, caret_row());
        if (wasPortLine) {
            ScreenDataLineClear(hwnd);
            tester.sendLength = 0;
        }
        break;
    case VK_UP:
        if (tester.currentLine == TESTER_LINE_SEND) {
            tester.currentLine = TESTER_LINE_PORT;
            SetCaretPos(FIELD_X, caret_row());
        }
        break;
    }
}

/* Counting up, 255 is followed by 1; counting down, 1 is followed by 256. */
static void step_port(HWND hwnd, int delta)
{
    tester.portNumber += delta;
    if (tester.portNumber > 255)
        tester.portNumber = 1;
    if (tester.portNumber < 1)
        tester.portNumber = 256;
    ScreenPortNameRedraw(hwnd);
}

/* The 41st byte is overwritten, with a beep, once the line is full. */
static void append_character(HWND hwnd, WPARAM code)
{
    HideCaret(hwnd);
    if (tester.sendLength > TESTER_SEND_MAX - 1) {
        tester.sendLength = TESTER_SEND_MAX - 1;
        MessageBeep(0xFFFFFFFF);
    }
    tester.sendLine[tester.sendLength] = (BYTE)(code & 0xFF);
    ScreenCharacterEcho(hwnd, tester.sendLine[tester.sendLength], tester.sendLength);
    tester.sendLength++;
    ShowCaret(hwnd);
    SetCaretPos(FIELD_X + CELL_WIDTH * tester.sendLength, caret_row());
}

static void on_char(HWND hwnd, WPARAM code)
{
    int onPortLine = tester.currentLine == TESTER_LINE_PORT;

    switch (code) {
    case 13:
        if (!onPortLine && tester.sendLength != 0)
            LoopTestRun(hwnd);
        break;
    case 27:
        PostQuitMessage(0);
        break;
    case ' ':
    case '+':
        if (onPortLine)
            step_port(hwnd, +1);
        break;
    case '-':
        if (onPortLine)
            step_port(hwnd, -1);
        break;
    default:
        if (!onPortLine)
            append_character(hwnd, code);
        break;
    }
}

LRESULT CALLBACK TesterWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        wsprintfA(tester.portName, "COM%d", 5);
        return 0;
    case WM_SETFOCUS:
        on_set_focus(hwnd);
        return 0;
    case WM_KILLFOCUS:
        on_kill_focus(hwnd);
        return 0;
    case WM_PAINT:
        ScreenFullPaint(hwnd);
        tester.currentLine = TESTER_LINE_PORT;
        return 0;
    case WM_KEYDOWN:
        on_key_down(hwnd, wParam);
        return 0;
    case WM_CHAR:
        on_char(hwnd, wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        DestroyCaret();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

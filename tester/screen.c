/*
 * The tester screen: one full paint for WM_PAINT and four partial redraws
 * that draw straight into the window through GetDC.  Nothing keeps a copy
 * of the screen: the next full paint loses what the partial redraws wrote.
 * Text is black on an opaque white background, so drawing spaces erases.
 */
#include <windows.h>

#include "tester.h"
#include "screen_layout.h"

static const char banner[] =
    "        Vostrelan Test Program  Ver 1.5   Kandorwick Co., Ltd.        ";
static const char rule[] =
    "----------------------------------------------------------------------";
static const char portLabel[] = "   port name :";
static const char sendLabel[] = "   send data :";
static const char receiveLabel[] = "receive data :";
static const char portHint[] = " Press +,- or space to select port";
static const char quitHint[] = "Press ESC to quit";
static const char blank[] = "                                                    "; /* 52 */

static void text_out(HDC hdc, int x, int y, const char *text, int length)
{
    TextOutA(hdc, x, y, text, length);
}

#define TEXT_OUT(hdc, x, y, s) text_out(hdc, x, y, s, (int)sizeof(s) - 1)

static void draw_port_name(HDC hdc)
{
    int length = wsprintfA(tester.portName, "COM%d", tester.portNumber);
    text_out(hdc, FIELD_X, PORT_NAME_Y, tester.portName, length);
}

void ScreenFullPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);

    SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    TEXT_OUT(hdc, 10, 20, banner);
    TEXT_OUT(hdc, 10, 35, rule);
    TEXT_OUT(hdc, 18, 65, portLabel);
    draw_port_name(hdc);
    TEXT_OUT(hdc, 18, 95, sendLabel);
    TEXT_OUT(hdc, 18, 125, receiveLabel);
    TEXT_OUT(hdc, 294, 185, portHint);
    TEXT_OUT(hdc, 430, 200, quitHint);
    EndPaint(hwnd, &ps);
}

/* Ten cells are erased first, so COM256 to COM1 leaves no trace. */
void ScreenPortNameRedraw(HWND hwnd)
{
    HDC hdc;

    HideCaret(hwnd);
    hdc = GetDC(hwnd);
    SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    text_out(hdc, FIELD_X, PORT_NAME_Y, blank, 10);
    draw_port_name(hdc);
    ReleaseDC(hwnd, hdc);
    ShowCaret(hwnd);
}

void ScreenDataLineClear(HWND hwnd)
{
    HDC hdc;

    HideCaret(hwnd);
    hdc = GetDC(hwnd);
    SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    TEXT_OUT(hdc, FIELD_X, SEND_DATA_Y, blank);
    TEXT_OUT(hdc, FIELD_X, RECEIVE_DATA_Y, blank);
    ReleaseDC(hwnd, hdc);
    ShowCaret(hwnd);
}

/* The caller hides and shows the caret around the echo. */
void ScreenCharacterEcho(HWND hwnd, BYTE ch, int cell)
{
    HDC hdc = GetDC(hwnd);

    SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    text_out(hdc, FIELD_X + CELL_WIDTH * cell, SEND_DATA_Y, (const char *)&ch, 1);
    ReleaseDC(hwnd, hdc);
}

/* One line, nothing erased first; what runs past the window is clipped. */
void ScreenReceivedDisplay(HWND hwnd, const BYTE *buffer, DWORD count)
{
    HDC hdc;

    HideCaret(hwnd);
    hdc = GetDC(hwnd);
    SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    text_out(hdc, FIELD_X, RECEIVE_DATA_Y, (const char *)buffer, (int)count);
    ReleaseDC(hwnd, hdc);
    ShowCaret(hwnd);
}

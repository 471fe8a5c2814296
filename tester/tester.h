/*
 * The tester dialogue: its state (shared with the loop-back exchange),
 * its window procedure and the screen drawing operations.
 */
#ifndef BRELOX_TESTER_H
#define BRELOX_TESTER_H

#include <windows.h>

#define TESTER_SEND_MAX 41
#define TESTER_LINE_PORT 0
#define TESTER_LINE_SEND 1

typedef struct TesterState {
    int currentLine;             /* TESTER_LINE_PORT or TESTER_LINE_SEND */
    int portNumber;              /* 1 to 256 */
    char portName[12];           /* "COM" and the port number */
    BYTE sendLine[TESTER_SEND_MAX];
    int sendLength;              /* 0 to 41 */
} TesterState;

extern TesterState tester;

LRESULT CALLBACK TesterWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

/* screen.c: the full paint and the partial redraws */
void ScreenFullPaint(HWND hwnd);
void ScreenPortNameRedraw(HWND hwnd);
void ScreenDataLineClear(HWND hwnd);
void ScreenCharacterEcho(HWND hwnd, BYTE ch, int cell);
void ScreenReceivedDisplay(HWND hwnd, const BYTE *buffer, DWORD count);

#endif

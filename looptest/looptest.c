/*
 * One loop-back exchange: open the selected port, set it to 9600 8N1 with
 * DTR and RTS on, let the line settle, send the send line, wait until as
 * many bytes have come back (or 200 ms), read what came and show it.
 * Every exchange ends by posting Up, which takes the dialogue back to the
 * port line once this handler has returned.
 */
#include <windows.h>

#include "looptest.h"
#include "../tester/tester.h"

#define QUEUE_SIZE 1000
#define WAIT_MS 200

static DCB portSettings;
static BYTE receiveBuffer[LOOPTEST_RECEIVE_MAX];

static void warn(HWND hwnd, LPCSTR text)
{
    MessageBoxA(hwnd, text, "WARNING", MB_ICONWARNING);
}

static void back_to_port_line(HWND hwnd)
{
    PostMessageA(hwnd, WM_KEYDOWN, VK_UP, 0);
}

static void configure(HANDLE port)
{
    SetupComm(port, QUEUE_SIZE, QUEUE_SIZE);
    GetCommState(port, &portSettings);
    portSettings.BaudRate = CBR_9600;
    portSettings.ByteSize = 8;
    portSettings.Parity = NOPARITY;
    portSettings.StopBits = ONESTOPBIT;
    portSettings.fDtrControl = DTR_CONTROL_ENABLE;
    portSettings.fRtsControl = RTS_CONTROL_ENABLE;
    SetCommState(port, &portSettings);
    EscapeCommFunction(port, SETDTR);
}

/* Elapsed time is the unsigned difference from the start, so a wait lasts
   its full length even when the tick counter wraps during it. */
static int wait_over(DWORD start)
{
    return GetTickCount() - start > WAIT_MS;
}

static DWORD bytes_waiting(HANDLE port)
{
    DWORD errors = 0;
    COMSTAT status;

    status.cbInQue = 0;
    ClearCommError(port, &errors, &status);
    return status.cbInQue;
}

/* The echo wait ends early only on an exact match: more bytes than were
   sent wait the full time, and then all of them are shown. */
static void wait_for_echo(HANDLE port, DWORD expected)
{
    DWORD start = GetTickCount();

    for (;;) {
        if (bytes_waiting(port) == expected)
            break;
        if (wait_over(start))
            break;
    }
}

static void receive_and_show(HWND hwnd, HANDLE port)
{
    DWORD count = bytes_waiting(port);
    DWORD got = 0;

    if (count == 0) {
        warn(hwnd, "Receive error ");
        return;
    }
    /* The buffer holds 512 bytes; whatever else waits goes with the close. */
    if (count > LOOPTEST_RECEIVE_MAX)
        count = LOOPTEST_RECEIVE_MAX;
    ReadFile(port, receiveBuffer, count, &got, NULL);
    /* Only what was read: a port that fails mid-read must not show the
       bytes of an earlier exchange still in the buffer. */
    ScreenReceivedDisplay(hwnd, receiveBuffer, got);
}

void LoopTestRun(HWND hwnd)
{
    char devicePath[32];
    HANDLE port;
    DWORD start;
    DWORD written = 0;

    wsprintfA(devicePath, "\\\\.\\%s", tester.portName);
    port = CreateFileA(devicePath, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (port == INVALID_HANDLE_VALUE) {
        warn(hwnd, "Port open error ");
        back_to_port_line(hwnd);
        return;
    }
    configure(port);

    start = GetTickCount(); /* the line settles before anything is sent */
    while (!wait_over(start))
        ;

    WriteFile(port, tester.sendLine, (DWORD)tester.sendLength, &written, NULL);
    wait_for_echo(port, (DWORD)tester.sendLength);
    receive_and_show(hwnd, port);

    back_to_port_line(hwnd);
    CloseHandle(port);
}

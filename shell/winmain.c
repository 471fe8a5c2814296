/*
 * Brelox entry point: registers the tester window class, creates the one
 * main window, shows and paints it, then runs the message loop until the
 * quit message.  Everything else happens in the tester's window procedure.
 */
#include <windows.h>

#include "../tester/tester.h"

#define BRELOX_ICON_WINDOW 104

static HWND hwndMain;

static void register_tester_class(HINSTANCE hInstance)
{
    WNDCLASSA wndclass;

    wndclass.style = CS_HREDRAW | CS_VREDRAW;
    wndclass.lpfnWndProc = TesterWndProc;
    wndclass.cbClsExtra = 0;
    wndclass.cbWndExtra = 0;
    wndclass.hInstance = hInstance;
    wndclass.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(BRELOX_ICON_WINDOW));
    wndclass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wndclass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wndclass.lpszMenuName = NULL;
    wndclass.lpszClassName = "helloWin";
    RegisterClassA(&wndclass);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd)
{
    MSG msg;

    (void)lpCmdLine; /* the program has no options */

    if (hPrevInstance == NULL)
        register_tester_class(hInstance);

    /* WS_SYSMENU | WS_MINIMIZEBOX on an overlapped window: caption, system
       menu and minimise button, no sizing border, no maximise. */
    hwndMain = CreateWindowExA(0, "helloWin", "Vostrelan Test", WS_SYSMENU | WS_MINIMIZEBOX,
                               50, 150, 590, 250, NULL, NULL, hInstance, NULL);

    ShowWindow(hwndMain, nShowCmd);
    UpdateWindow(hwndMain);

    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

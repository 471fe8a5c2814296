// The last-error value of the (one) thread.
#include <windows.h>

static DWORD g_last_error = ERROR_SUCCESS;

extern "C" DWORD WINAPI GetLastError(void) { return g_last_error; }
extern "C" void WINAPI SetLastError(DWORD code) { g_last_error = code; }

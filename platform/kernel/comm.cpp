// File handles for serial ports: CreateFileA on \\.\COMn or COMn, and the
// comm and file functions on those handles.  Other paths are not needed by
// the program and fail cleanly.
#include "serial_device.h"

#include <cctype>
#include <cstring>
#include <map>

namespace brelox {

namespace {

std::map<uintptr_t, std::unique_ptr<SerialDevice>> g_handles;
uintptr_t g_next_handle = 0x100;

SerialDevice *device_of(HANDLE h)
{
    auto it = g_handles.find((uintptr_t)h);
    if (it == g_handles.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

// "\\.\COM7" or "COM7" (any case) to 7; 0 when the name is no COM port.
int com_port_number(const char *path)
{
    if (std::strncmp(path, "\\\\.\\", 4) == 0)
        path += 4;
    if (std::strlen(path) < 4 || std::toupper((unsigned char)path[0]) != 'C' ||
        std::toupper((unsigned char)path[1]) != 'O' || std::toupper((unsigned char)path[2]) != 'M')
        return 0;
    const char *digits = path + 3;
    if (*digits == '0')
        return 0;
    int n = 0;
    for (const char *p = digits; *p != 0; p++) {
        if (!std::isdigit((unsigned char)*p) || p - digits >= 3)
            return 0;
        n = n * 10 + (*p - '0');
    }
    return (n >= 1 && n <= 256) ? n : 0;
}

} // namespace

size_t open_handle_count() { return g_handles.size(); }

} // namespace brelox

using namespace brelox;

extern "C" HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flags, HANDLE templ)
{
    (void)share;    // a COM port is exclusive whatever is asked
    (void)security;
    (void)templ;
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    int port = com_port_number(name);
    if (port == 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition != OPEN_EXISTING || (flags & FILE_FLAG_OVERLAPPED) != 0 ||
        (access & (GENERIC_READ | GENERIC_WRITE)) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    DWORD error = ERROR_SUCCESS;
    std::unique_ptr<SerialDevice> device = serial_board().open(port, &error);
    if (device == nullptr) {
        SetLastError(error != ERROR_SUCCESS ? error : ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    uintptr_t value = g_next_handle;
    g_next_handle += 4;
    g_handles[value] = std::move(device);
    SetLastError(ERROR_SUCCESS);
    return (HANDLE)value;
}

extern "C" BOOL WINAPI CloseHandle(HANDLE h)
{
    auto it = g_handles.find((uintptr_t)h);
    if (it == g_handles.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    g_handles.erase(it); // the device releases the port in its destructor
    return TRUE;
}

extern "C" BOOL WINAPI ReadFile(HANDLE h, LPVOID buffer, DWORD count, LPDWORD got, LPOVERLAPPED overlapped)
{
    if (got != nullptr)
        *got = 0;
    SerialDevice *d = device_of(h);
    if (d == nullptr)
        return FALSE;
    if (overlapped != nullptr || (buffer == nullptr && count > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD n = 0;
    BOOL ok = d->read(buffer, count, &n);
    if (got != nullptr)
        *got = n;
    return ok;
}

extern "C" BOOL WINAPI WriteFile(HANDLE h, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (written != nullptr)
        *written = 0;
    SerialDevice *d = device_of(h);
    if (d == nullptr)
        return FALSE;
    if (overlapped != nullptr || (data == nullptr && count > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD n = 0;
    BOOL ok = d->write(data, count, &n);
    if (written != nullptr)
        *written = n;
    return ok;
}

extern "C" BOOL WINAPI SetupComm(HANDLE h, DWORD in, DWORD out)
{
    SerialDevice *d = device_of(h);
    return d != nullptr && d->setup_queues(in, out);
}

extern "C" BOOL WINAPI GetCommState(HANDLE h, LPDCB dcb)
{
    SerialDevice *d = device_of(h);
    if (d == nullptr)
        return FALSE;
    if (dcb == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return d->get_state(dcb);
}

extern "C" BOOL WINAPI SetCommState(HANDLE h, LPDCB dcb)
{
    SerialDevice *d = device_of(h);
    if (d == nullptr)
        return FALSE;
    if (dcb == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return d->set_state(dcb);
}

extern "C" BOOL WINAPI EscapeCommFunction(HANDLE h, DWORD function)
{
    SerialDevice *d = device_of(h);
    return d != nullptr && d->escape(function);
}

extern "C" BOOL WINAPI ClearCommError(HANDLE h, LPDWORD errors, LPCOMSTAT status)
{
    DWORD e = 0;
    COMSTAT s{};
    SerialDevice *d = device_of(h);
    BOOL ok = d != nullptr && d->clear_error(&e, &s);
    if (!ok)
        s.cbInQue = s.cbOutQue = 0; // a vanished port has nothing waiting
    if (errors != nullptr)
        *errors = e;
    if (status != nullptr)
        *status = s;
    return ok;
}

// Icons, cursors and the beep.  Icons are the program's own resources,
// compiled in from resources/; LoadIconA hands out one handle per id.
#include "../drivers/driver.h"
#include "icons.h"

using namespace brelox;

namespace {
struct IconObject {
    int id;
};
IconObject g_icons[] = {{103}, {104}, {32512}, {32515}};
IconObject g_arrow{32512};
} // namespace

namespace brelox {

int icon_resource_id(HICON icon)
{
    for (IconObject &i : g_icons)
        if (reinterpret_cast<HICON>(&i) == icon)
            return i.id;
    return 0;
}

} // namespace brelox

extern "C" HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name)
{
    (void)instance;
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    int id = (int)(uintptr_t)name;
    for (IconObject &i : g_icons)
        if (i.id == id)
            return reinterpret_cast<HICON>(&i);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    if (instance == nullptr && name == IDC_ARROW)
        return reinterpret_cast<HCURSOR>(&g_arrow);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

extern "C" BOOL WINAPI MessageBeep(UINT type)
{
    (void)type; // every kind is the one bell the driver has
    driver().beep();
    return TRUE;
}

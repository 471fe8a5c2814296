// Window classes: RegisterClassA and the lookup CreateWindowExA uses.
#include "user_internal.h"

#include <strings.h>

#include <memory>

namespace brelox {

static std::vector<std::unique_ptr<WindowClass>> &classes()
{
    static std::vector<std::unique_ptr<WindowClass>> list;
    return list;
}

const WindowClass *find_class(const char *name)
{
    if (name == nullptr || IS_INTRESOURCE(name))
        return nullptr;
    for (auto &c : classes())
        if (strcasecmp(c->name.c_str(), name) == 0)
            return c.get();
    return nullptr;
}

} // namespace brelox

using namespace brelox;

extern "C" ATOM WINAPI RegisterClassA(const WNDCLASSA *wc)
{
    if (wc == nullptr || wc->lpfnWndProc == nullptr || wc->lpszClassName == nullptr ||
        IS_INTRESOURCE(wc->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (find_class(wc->lpszClassName) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto c = std::make_unique<WindowClass>();
    c->name = wc->lpszClassName;
    c->record = *wc;
    c->record.lpszClassName = nullptr; // the copy in `name` is the one kept
    classes().push_back(std::move(c));
    return (ATOM)(0xC000 + classes().size());
}

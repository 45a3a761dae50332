// The folder browser is the only other dialog that the main dialog owns.
#include "tests/support/folder_browser.h"

#include <string>

namespace kelvane::test {
namespace {

struct Search {
    HWND owner;
    HWND found;
};

// A named CALLBACK, not a lambda: on 32-bit Windows a lambda converts only to a cdecl pointer, not to WNDENUMPROC.
BOOL CALLBACK FindOwnedDialog(HWND candidate, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t className[16] = {};
    GetClassNameW(candidate, className, 16);
    if (candidate != search->owner && GetWindow(candidate, GW_OWNER) == search->owner &&
        std::wstring(className) == L"#32770" && IsWindowVisible(candidate)) {
        search->found = candidate;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindFolderBrowser(DWORD thread, HWND owner)
{
    if (!owner)
        return nullptr;
    Search search{owner, nullptr};
    EnumThreadWindows(thread, FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace kelvane::test

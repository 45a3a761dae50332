// The folder browser is the only other dialog that the main dialog owns.
#include "tests/support/folder_browser.h"

#include <string>

namespace kelvane::test {

HWND FindFolderBrowser(DWORD thread, HWND owner)
{
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    if (!owner)
        return nullptr;
    EnumThreadWindows(
        thread,
        [](HWND candidate, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t className[16] = {};
            GetClassNameW(candidate, className, 16);
            if (candidate != s->owner && GetWindow(candidate, GW_OWNER) == s->owner &&
                std::wstring(className) == L"#32770" && IsWindowVisible(candidate)) {
                s->found = candidate;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace kelvane::test

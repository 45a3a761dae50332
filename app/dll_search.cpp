// The DLL search narrowed to the system folder, so that a DLL lying beside the program (in Downloads, say) never
// runs with the administrator rights the program asks for.
#include "app/dll_search.h"

#include <windows.h>

namespace kelvane {
namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
constexpr char kSetDefaultDllDirectories[] = "SetDefaultDllDirectories";
constexpr wchar_t kNoExtraFolder[] = L"";   // SetDllDirectoryW's "" takes the current folder out of the search

}  // namespace

bool RestrictDllSearchToSystemFolder()
{
    // Looked up, not imported: a program importing it would not start at all on Windows 7 without the update.
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(kernel32 ? GetProcAddress(kernel32, kSetDefaultDllDirectories) : nullptr));
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return true;
    SetDllDirectoryW(kNoExtraFolder);
    return false;
}

}  // namespace kelvane

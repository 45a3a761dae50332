// shell32.dll loaded on first use and kept for the rest of the run.
#include "common/shell_calls.h"

#include <shellapi.h>

#include "common/unique_handle.h"

namespace kelvane {
namespace {

constexpr wchar_t kShellLibrary[] = L"shell32.dll";

UniqueModule LoadShell()
{
    // From the system folder only, so no shell32.dll planted beside the program is ever used. Windows 7 without
    // its loader update refuses the flag; there shell32 is a known DLL, which comes from the system folder anyway.
    UniqueModule shell(LoadLibraryExW(kShellLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!shell && GetLastError() == ERROR_INVALID_PARAMETER)
        shell = UniqueModule(LoadLibraryW(kShellLibrary));
    return shell;
}

// Loaded once, at the first call, and held for the rest of the run.
HMODULE Shell()
{
    static const UniqueModule shell = LoadShell();
    return shell.get();
}

// The named export of shell32.dll as the function type it has, or null.
template <typename Function>
Function ShellFunction(const char* name)
{
    const FARPROC found = Shell() ? GetProcAddress(Shell(), name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

}  // namespace

PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW* info)
{
    const auto browse = ShellFunction<decltype(&SHBrowseForFolderW)>("SHBrowseForFolderW");
    return browse ? browse(info) : nullptr;
}

bool PathFromIdList(PCIDLIST_ABSOLUTE list, wchar_t* path)
{
    const auto toPath = ShellFunction<decltype(&SHGetPathFromIDListW)>("SHGetPathFromIDListW");
    return toPath && toPath(list, path);
}

HINSTANCE WINAPI ShellExecuteOnDemand(HWND window, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                      const wchar_t* directory, int showCommand)
{
    const auto execute = ShellFunction<decltype(&ShellExecuteW)>("ShellExecuteW");
    return execute ? execute(window, verb, file, parameters, directory, showCommand)
                   : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}

}  // namespace kelvane

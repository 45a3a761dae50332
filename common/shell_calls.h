// The shell's few calls, with shell32.dll loaded at the first of them: it is large, and start-up needs none of it.
#pragma once

#include <windows.h>
#include <shlobj.h>

namespace kelvane {

// SHBrowseForFolderW; null, as if cancelled, when the shell cannot be loaded.
PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW* info);
// SHGetPathFromIDListW; false when the shell cannot be loaded.
bool PathFromIdList(PCIDLIST_ABSOLUTE list, wchar_t* path);
// ShellExecuteW, with its signature; a result of SE_ERR_DLLNOTFOUND when the shell cannot be loaded.
HINSTANCE WINAPI ShellExecuteOnDemand(HWND window, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                      const wchar_t* directory, int showCommand);

}  // namespace kelvane

// Finding the folder browser that the dialog opens over itself, so a test can close it as a user would.
#pragma once

#include <windows.h>

namespace kelvane::test {

// The visible dialog of `thread` that `owner` owns (the folder browser), or null.
HWND FindFolderBrowser(DWORD thread, HWND owner);

}  // namespace kelvane::test

// Small registry helpers shared by start-up, the link colours and the tweaks.
#pragma once

#include <windows.h>

namespace kelvane {

// Reads a REG_SZ or REG_EXPAND_SZ value (not expanded) into buffer, which holds count wide characters.
// count is set to 0 first and, on success, to the characters read with the terminator. Returns a Windows error
// code: the query's own error as it is (ERROR_MORE_DATA when the value does not fit), ERROR_INVALID_DATA for
// another type, an odd byte count or a value without a terminating NUL, ERROR_SUCCESS otherwise.
LONG QueryRegistryString(HKEY key, const wchar_t* valueName, wchar_t* buffer, DWORD& count);

}  // namespace kelvane

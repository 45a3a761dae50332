// Reading string values from the registry with the terminator checks that RegQueryValueExW leaves to its caller.
#include "common/registry.h"

namespace kelvane {

LONG QueryRegistryString(HKEY key, const wchar_t* valueName, wchar_t* buffer, DWORD& count)
{
    const DWORD capacity = count;
    count = 0;
    DWORD type = 0;
    DWORD bytes = capacity * sizeof(wchar_t);
    const LONG result = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    // A value stored without its terminator would otherwise be read past its end.
    if (bytes % sizeof(wchar_t) != 0 || bytes == 0 || buffer[bytes / sizeof(wchar_t) - 1] != L'\0')
        return ERROR_INVALID_DATA;
    count = bytes / sizeof(wchar_t);
    return ERROR_SUCCESS;
}

}  // namespace kelvane

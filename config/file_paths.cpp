// Full and long paths through the two-call pattern: ask for the size, then fill exactly that much.
#include "config/file_paths.h"

#include <windows.h>

namespace kelvane {
namespace {

// `call(buffer, capacity)` answers the length written, or the capacity needed (terminator included) when it does not
// fit, or 0 on failure.
template <typename Call>
std::wstring Sized(const Call& call)
{
    const DWORD needed = call(nullptr, 0);
    if (needed == 0)
        return std::wstring();
    std::wstring text(needed, L'\0');
    const DWORD length = call(&text[0], needed);
    if (length == 0 || length >= needed)
        return std::wstring();
    text.resize(length);
    return text;
}

}  // namespace

std::wstring FullPath(const std::wstring& path)
{
    if (path.empty())
        return std::wstring();
    return Sized([&](wchar_t* buffer, DWORD capacity) {
        return GetFullPathNameW(path.c_str(), capacity, buffer, nullptr);
    });
}

std::wstring LongPath(const std::wstring& path)
{
    std::wstring longForm = Sized([&](wchar_t* buffer, DWORD capacity) {
        return GetLongPathNameW(path.c_str(), buffer, capacity);
    });
    return longForm.empty() ? path : longForm;
}

}  // namespace kelvane

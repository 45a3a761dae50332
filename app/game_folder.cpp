// Reading and cleaning the game's install path.
#include "app/game_folder.h"

#include <windows.h>

#include "common/registry.h"
#include "common/unique_handle.h"

namespace kelvane {
namespace {

constexpr wchar_t kGameKey[] = L"SOFTWARE\\Blizzard Entertainment\\World of Warcraft";
constexpr wchar_t kInstallPathValue[] = L"InstallPath";
constexpr DWORD kInstallPathCapacity = 260;
// The game's installer is a 32-bit program: a 64-bit build must look in the same 32-bit view of the registry.
constexpr REGSAM kGameKeyView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0;

bool IsTrimmed(wchar_t c) { return c == L' ' || c == L'"'; }

}  // namespace

std::wstring NormalizeInstallPath(const std::wstring& raw)
{
    size_t begin = 0;
    size_t end = raw.size();
    while (begin < end && IsTrimmed(raw[begin]))
        ++begin;
    while (end > begin && IsTrimmed(raw[end - 1]))
        --end;
    std::wstring path;
    path.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) {
        path.push_back(raw[i]);
        if (raw[i] == L'\\' && i + 1 < end && raw[i + 1] == L'\\')
            ++i;
    }
    return path;
}

std::optional<std::wstring> ReadGameFolder()
{
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_READ | kGameKeyView, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[kInstallPathCapacity];
    DWORD count = kInstallPathCapacity;
    if (QueryRegistryString(key.get(), kInstallPathValue, buffer, count) != ERROR_SUCCESS)
        return std::nullopt;   // a value that is no terminated string of this size: as if there were none
    return NormalizeInstallPath(buffer);
}

}  // namespace kelvane

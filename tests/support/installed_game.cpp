// The game's registry key and the network tweak on the (Wine prefix's) machine registry.
#include "tests/support/installed_game.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "tests/support/game_setup.h"

namespace kelvane::test {

InstalledGame::InstalledGame(const std::wstring& folder)
{
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kGameKey, KEY_WOW64_32KEY, 0);
    if (!folder.empty())
        SetInstallPath(L"\"" + folder + L"\"");
}

InstalledGame::~InstalledGame()
{
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kGameKey, KEY_WOW64_32KEY, 0);
}

void ClearNetworkTweak()
{
    UniqueKey interfaces;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInterfacesKey, 0, KEY_ALL_ACCESS, interfaces.put()) != ERROR_SUCCESS)
        return;
    wchar_t name[260];
    for (DWORD i = 0;; ++i) {
        DWORD length = 260;
        if (RegEnumKeyExW(interfaces.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        UniqueKey one;
        if (RegOpenKeyExW(interfaces.get(), name, 0, KEY_ALL_ACCESS, one.put()) == ERROR_SUCCESS)
            RegDeleteValueW(one.get(), L"TcpAckFrequency");
    }
}

}  // namespace kelvane::test

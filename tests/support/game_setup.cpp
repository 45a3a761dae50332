// Registry seeding for start-up and Apply tests.
#include "tests/support/game_setup.h"

#include <gtest/gtest.h>

#include "common/unique_handle.h"
#include "tests/support/scratch_registry.h"

namespace kelvane::test {

void SetInstallPath(const std::wstring& value, DWORD type)
{
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                              key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), L"InstallPath", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void SetNetworkInterface(const std::wstring& name, bool ackEverySegment)
{
    const std::wstring key = InterfaceKey(name);
    ScratchRegistry::CreateKey(HKEY_LOCAL_MACHINE, key.c_str());
    if (ackEverySegment)
        ScratchRegistry::SetDword(HKEY_LOCAL_MACHINE, key.c_str(), L"TcpAckFrequency", 1);
}

bool InterfaceAcksEverySegment(const std::wstring& name)
{
    DWORD value = 0;
    const std::wstring key = InterfaceKey(name);
    return ScratchRegistry::ReadDword(HKEY_LOCAL_MACHINE, key.c_str(), L"TcpAckFrequency", value) && value == 1;
}

}  // namespace kelvane::test

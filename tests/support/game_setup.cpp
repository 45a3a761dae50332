// Registry seeding for start-up and Apply tests.
#include "tests/support/game_setup.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_registry.h"

namespace kelvane::test {

void SetInstallPath(const std::wstring& value, DWORD type)
{
    ASSERT_EQ(WriteInstallPath(value, type), ERROR_SUCCESS) << "cannot write the game's key";
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
